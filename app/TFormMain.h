#pragma once

#include <QMainWindow>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "gps/DecoderHost.h"
#include "gps/NmeaRecorder.h"
#include "maps/WriteNotices.h"

class QAction;
class QFrame;
class QImage;
class QLabel;
class QMenu;
class QTimer;
class QToolButton;

namespace kem {

class FileListBox;
class IniFile;
class TFormMemo;
class TFormQTH;
class TFormSat;
class TFormSet;
class TFormSquares;

namespace gps {
class NmeaDecoder;
class ReceiverLink;
class TCommPortDriver;
}  // namespace gps

namespace maps {
class MapSheet;
class SquareVisits;
}  // namespace maps

// The main window of KEMGPS: the map sheet, the fix panel, the connection buttons and the menu.
// It owns the serial driver, the decoder, the map sheet and the program-wide state for the whole
// run, and shows the other windows it is given. Controls carry their design names as object
// names.
class TFormMain : public QMainWindow, private gps::DecoderHost {
    Q_OBJECT

public:
    // The windows the main window opens and feeds.
    struct Companions {
        TFormSat& sat;
        TFormMemo& memo;
        TFormSet& set;
        TFormQTH& qth;
        TFormSquares& squares;
    };

    // programDir ends in "/"; settings is the program's settings file.
    TFormMain(const std::string& programDir, IniFile& settings, QWidget* parent = nullptr);
    ~TFormMain() override;

    // Called once, before the window is shown.
    void Attach(const Companions& companions);

    std::int32_t Period() const { return m_period; }
    std::int32_t Radius() const;
    char DecimalSeparator() const { return m_decimalSeparator; }
    // Setting Period also paces the decoder.
    void SetPeriod(std::int32_t period);
    // The square code of the sheet on display (empty before the first position step).
    std::string CurrentSquare() const;
    // The decoder, from FormShow until FormClose; null outside that time.
    gps::NmeaDecoder* Decoder() const { return m_decoder.get(); }
    gps::TCommPortDriver& Driver() const { return *cpDrv; }
    gps::ReceiverLink& Link() const { return *m_link; }
    maps::MapSheet& Sheet() const { return *m_sheet; }
    // The visited squares and the track since the start.
    maps::SquareVisits& Visits() const { return *m_visits; }
    // Shows a square's sheet as the QTH dialog does, after disconnecting: marks of the position
    // step would otherwise land on it.
    void ShowSquare(const std::string& code);

    // Connection control.
    void Connect();
    void Disconnect();
    void ShowConnectionStatus();
    void btConnectClick();
    void btDisconnectClick();

    // Handlers; the ones that may fail throw, and their connections show the error box.
    void FormShow();
    void startupWrites();
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
    void Squares();
    void Baigti();
    void MWayClick();
    void OpenExpedClick();
    void MExportGpxClick();
    void FileListBox1Click();
    void FileListBox1DblClick();

    // The receive handler of cpDrv.
    void cpDrvReceiveData(const char* data, std::uint32_t size);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void buildFixPanel();
    void buildMenu();
    void connectControls();
    QLabel* addValueField(const char* name, const char* caption, int left, int top, int width,
                          int height);

    // A Baud setting for the driver: 0 hunts for the rate.
    void setBaud(std::int32_t baud);
    // Whether the driver already works with this Baud setting.
    bool runsWithBaud(std::int32_t baud) const;
    // The button group: at most one of the two is down.
    void pressConnectButton();
    void pressDisconnectButton();
    void enableTimer1();
    void showFix(const gps::GpsFix& fix, gps::FixFieldSet changed);
    // The mode field is red while the receiver reports no fix (and at start).
    void showNoFix(bool noFix);
    void showPicture(const QImage& picture);
    void writeBool(const char* key, bool value);
    // An automatic write of the position step: a failure goes to the notice line instead of
    // ending the step.
    void writeInStep(maps::WriteNotices::Kind kind, const std::function<void()>& write);
    // The notice line: failed automatic writes and the rate hunt's finding, if any.
    void showNotices();
    void setHuntNotice(const QString& notice);
    void withdrawNoticeWhenOff(maps::WriteNotices::Kind kind, bool on);
    // The recording of received bytes: it runs while "Įrašyti NMEA" is ticked and the port is
    // open, and ends with the connection.
    void recordToggled(bool on);
    void startRecording();
    void setValueFieldsBold(bool bold);

    // DecoderHost.
    bool AutoMapChecked() override;
    bool LogChecked() override;
    bool MemoVisible() override;
    bool SatWindowVisible() override;
    std::string CalcKEM(const std::string& latRaw, const std::string& longRaw) override;
    void Beep() override;
    void SaveMap(const std::string& square) override;
    void KEMSquare(const std::string& code) override;
    void ToLog(const gps::GpsFix& fix) override;
    void ToMap(const std::string& latRaw, const std::string& longRaw) override;
    void SetClipboardText(const std::string& text) override;
    void EchoLines(std::span<const std::string> lines) override;
    void ScrollMemoToCaret() override;
    void SetSatelliteCell(int row, gps::SatColumn column, const std::string& text) override;
    void ShowSats() override;
    void FixChanged(const gps::GpsFix& fix, gps::FixFieldSet changed) override;

    // Program-wide state.
    const std::string m_programDir;
    IniFile& m_settings;
    std::int32_t m_period = 15;
    char m_decimalSeparator = '.';
    std::unique_ptr<gps::NmeaDecoder> m_decoder;
    maps::MapSheet* m_sheet = nullptr;
    std::unique_ptr<maps::SquareVisits> m_visits;
    maps::WriteNotices m_writeNotices;
    gps::NmeaRecorder m_recorder;
    QString m_huntNotice;  // a round of "Auto" rates brought no sentence
    bool m_shown = false;

    // The other windows.
    TFormSat* m_sat = nullptr;
    TFormMemo* m_memo = nullptr;
    TFormSet* m_set = nullptr;
    TFormQTH* m_qth = nullptr;
    TFormSquares* m_squares = nullptr;

    // Controls, named as in the window's design.
    QToolButton* btClear = nullptr;
    QLabel* Image1 = nullptr;
    QFrame* Panel4 = nullptr;
    FileListBox* FileListBox1 = nullptr;
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
    QLabel* pnNotice = nullptr;  // in the status bar, shown while there is something to tell

    QAction* MLog = nullptr;
    QAction* MAutoMap = nullptr;
    QAction* MWay = nullptr;
    QAction* OpenExped = nullptr;
    QAction* MExportGpx = nullptr;
    QAction* MQTH = nullptr;
    QAction* MBaigti2 = nullptr;
    QMenu* MSetUp = nullptr;
    QAction* MBold = nullptr;
    QAction* Kitinustatymai1 = nullptr;
    QAction* MGPS = nullptr;
    QAction* MSat = nullptr;
    QAction* MSquares = nullptr;
    QAction* MClose = nullptr;

    QTimer* Timer1 = nullptr;
    gps::TCommPortDriver* cpDrv = nullptr;
    // The receiver the Port setting names, serial or on the network.
    gps::ReceiverLink* m_link = nullptr;
};

}  // namespace kem
