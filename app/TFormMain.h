#pragma once

#include <QImage>
#include <QMainWindow>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "archive/TUnZip.h"
#include "gps/DecoderHost.h"

class QAction;
class QFrame;
class QLabel;
class QListWidget;
class QMenu;
class QTimer;
class QToolButton;

namespace kem {

class IniFile;

namespace gps {
class NmeaDecoder;
class TCommPortDriver;
}  // namespace gps

// The main window of KEMGPS: the map sheet, the fix panel, the connection buttons and the menu.
// It owns the serial driver, the decoder and the program-wide state for the whole run.
class TFormMain : public QMainWindow, private gps::DecoderHost {
    Q_OBJECT

public:
    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    // Program-wide state.
    std::string ProgramDir;  // folder of the program, ending in "/"
    std::unique_ptr<IniFile> SettingsFile;
    std::int32_t Period = 15;
    std::int32_t Radius = 3;
    char DecimalSeparatorCopy = '.';

    // Setting Period also paces the decoder.
    void SetPeriod(std::int32_t period);
    // The square code of the sheet on display (empty before the first position step).
    std::string CurrentSquare() const;
    // The decoder, from FormShow until FormClose; null outside that time.
    gps::NmeaDecoder* Decoder() const { return m_decoder.get(); }

    // Connection control.
    void Connect();
    void Disconnect();
    void ShowConnectionStatus();
    void btConnectClick();
    void btDisconnectClick();

    // Handlers; the ones that may fail throw, and their connections show the error box.
    void FormShow();
    void FormClose();
    void Timer1Timer();
    void Refresh();
    void MLogClick();
    void MAutoMapClick();
    void MBoldClick();
    void MSetUpClick();
    void SetUp();
    void MQTHClick();
    void RXShow();
    void Sats();
    void Baigti();

    // The receive handler of cpDrv.
    void cpDrvReceiveData(const char* data, std::uint32_t size);

    // The map sheet: draws the sheet of a square into Image1 (unpacking its bitmap from the
    // square's archive when only that exists); throws IoError when the square data file or the
    // bitmap cannot be read.
    void KEMSquare(const std::string& code) override;
    // The red position mark of Radius around (x, y) of the sheet.
    void drawMark(int x, int y);
    // Saves the sheet as the next expedition map of square; throws IoError when it cannot.
    void SaveMap(const std::string& square) override;
    const QImage& picture() const { return m_picture; }

    void MWayClick();
    void OpenExpedClick();
    void FileListBox1Click();
    void FileListBox1DblClick();

    // Controls, named as in the window's design.
    QLabel* Label3 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Image3 = nullptr;
    QToolButton* btClear = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QFrame* Panel4 = nullptr;
    QListWidget* FileListBox1 = nullptr;
    QFrame* Panel5 = nullptr;
    QLabel* edPrec = nullptr;
    QLabel* edSat = nullptr;
    QLabel* edLastTime = nullptr;
    QLabel* edLat = nullptr;
    QLabel* edLong = nullptr;
    QLabel* edH1 = nullptr;
    QLabel* edH2 = nullptr;
    QLabel* edSpeed = nullptr;
    QToolButton* btConnect = nullptr;
    QToolButton* btDisconnect = nullptr;
    QLabel* pnDateTime = nullptr;
    QLabel* Panel0 = nullptr;

    QMenu* MFailai = nullptr;
    QAction* MLog = nullptr;
    QAction* MAutoMap = nullptr;
    QAction* MWay = nullptr;
    QAction* OpenExped = nullptr;
    QAction* MQTH = nullptr;
    QAction* MBaigti2 = nullptr;
    QMenu* MSetUp = nullptr;
    QAction* MBold = nullptr;
    QAction* Kitinustatymai1 = nullptr;
    QAction* MGPS = nullptr;
    QAction* MSat = nullptr;
    QAction* MClose = nullptr;

    QTimer* Timer1 = nullptr;
    gps::TCommPortDriver* cpDrv = nullptr;
    archive::TUnZip UnZip1;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void buildFixPanel();
    void buildMenu();
    void connectControls();
    QLabel* addValueField(const char* caption, int left, int top, int width, int height);

    // The button group: at most one of the two is down.
    void pressConnectButton();
    void pressDisconnectButton();
    void enableTimer1();
    void showFix(const gps::GpsFix& fix, gps::FixFieldSet changed);
    // The mode field is red while the receiver reports no fix (and at start).
    void showNoFix(bool noFix);
    void writeBool(const char* key, bool value);
    void setValueFieldsBold(bool bold);
    void showPicture();
    // Loads a bitmap as the sheet; throws IoError when it cannot be read.
    void loadPicture(const std::string& path);

    // DecoderHost.
    bool AutoMapChecked() override;
    bool LogChecked() override;
    bool MemoVisible() override;
    bool SatWindowVisible() override;
    std::string CalcKEM(const std::string& latRaw, const std::string& longRaw) override;
    void Beep() override;
    void ToLog(const gps::GpsFix& fix) override;
    void ToMap(const std::string& latRaw, const std::string& longRaw) override;
    void SetClipboardText(const std::string& text) override;
    void EchoLines(std::span<const std::string> lines) override;
    void ScrollMemoToCaret() override;
    void SetSatelliteCell(int row, gps::SatColumn column, const std::string& text) override;
    void ShowSats() override;
    void FixChanged(const gps::GpsFix& fix, gps::FixFieldSet changed) override;

    std::unique_ptr<gps::NmeaDecoder> m_decoder;
    QImage m_picture;
    bool m_shown = false;
};

}  // namespace kem
