#include "app/TFormMain.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <ctime>
#include <stdexcept>

#include "app/BaudSetting.h"
#include "app/FileListBox.h"
#include "app/TFormSet.h"
#include "base/IniFile.h"
#include "base/IoError.h"
#include "base/SettingsKeys.h"
#include "base/ui/Cp1257.h"
#include "base/ui/ErrorBox.h"
#include "base/ui/WindowLook.h"
#include "gps/NmeaDecoder.h"
#include "gps/ReceiverLink.h"
#include "gps/TCommPortDriver.h"
#include "gps/TFormMemo.h"
#include "maps/ExpeditionMaps.h"
#include "maps/GpxExport.h"
#include "maps/Locator.h"
#include "maps/MapSheet.h"
#include "maps/SquareVisits.h"
#include "maps/TFormQTH.h"
#include "maps/TFormSquares.h"
#include "sats/TFormSat.h"

namespace kem {
namespace {

namespace keys = settings;

// Connects a control's signal to a handler that may fail; a failure shows the error box.
template <class Sender, class Signal>
void onSignal(Sender* sender, Signal signal, TFormMain* form, void (TFormMain::*handler)()) {
    QObject::connect(sender, signal, form,
                     [form, handler] { guarded([&] { (form->*handler)(); }, form); });
}

// The port as the settings name it: "ttyUSB0" for /dev/ttyUSB0.
QString shortPortName(const gps::TCommPortDriver& driver) {
    const std::string& name = driver.PortName();
    const std::size_t prefix = std::string_view(gps::kDevicePrefix).size();
    return QString::fromStdString(name.size() > prefix ? name.substr(prefix) : "");
}

}  // namespace

TFormMain::TFormMain(const std::string& programDir, IniFile& settings, QWidget* parent)
    : QMainWindow(parent), m_programDir(programDir), m_settings(settings) {
    m_sheet = new maps::MapSheet(programDir, this);
    m_visits = std::make_unique<maps::SquareVisits>(m_sheet->ExpeditionFolder());
    buildWindow();
    connectControls();
    // The status text appears one second after start-up.
    Timer1->start();
}

TFormMain::~TFormMain() {
    m_link->Disconnect();
}

void TFormMain::connectControls() {
    onSignal(btClear, &QToolButton::clicked, this, &TFormMain::Refresh);
    onSignal(btConnect, &QToolButton::clicked, this, &TFormMain::btConnectClick);
    onSignal(btDisconnect, &QToolButton::clicked, this, &TFormMain::btDisconnectClick);
    onSignal(MWay, &QAction::triggered, this, &TFormMain::MWayClick);
    onSignal(OpenExped, &QAction::triggered, this, &TFormMain::OpenExpedClick);
    onSignal(MExportGpx, &QAction::triggered, this, &TFormMain::MExportGpxClick);
    onSignal(FileListBox1, &QListWidget::itemDoubleClicked, this, &TFormMain::FileListBox1DblClick);
    onSignal(MLog, &QAction::triggered, this, &TFormMain::MLogClick);
    onSignal(MAutoMap, &QAction::triggered, this, &TFormMain::MAutoMapClick);
    onSignal(MQTH, &QAction::triggered, this, &TFormMain::MQTHClick);
    onSignal(MBaigti2, &QAction::triggered, this, &TFormMain::Baigti);
    onSignal(MSetUp, &QMenu::aboutToShow, this, &TFormMain::MSetUpClick);
    onSignal(MBold, &QAction::triggered, this, &TFormMain::MBoldClick);
    onSignal(Kitinustatymai1, &QAction::triggered, this, &TFormMain::SetUp);
    onSignal(MGPS, &QAction::triggered, this, &TFormMain::RXShow);
    onSignal(MSat, &QAction::triggered, this, &TFormMain::Sats);
    onSignal(MSquares, &QAction::triggered, this, &TFormMain::Squares);
    onSignal(MClose, &QAction::triggered, this, &TFormMain::Baigti);
    onSignal(Timer1, &QTimer::timeout, this, &TFormMain::Timer1Timer);

    FileListBox1->OnClick = [this] { guarded([this] { FileListBox1Click(); }, this); };
    connect(m_sheet, &maps::MapSheet::changed, this, &TFormMain::showPicture);

    // The connection buttons are one group: pressing one releases the other; both may be up.
    connect(btConnect, &QToolButton::toggled, this, [this](bool down) {
        if (down) {
            btDisconnect->setChecked(false);
        }
    });
    connect(btDisconnect, &QToolButton::toggled, this, [this](bool down) {
        if (down) {
            btConnect->setChecked(false);
        }
    });

    m_link->OnReceive = [this](const char* data, std::size_t size) {
        cpDrvReceiveData(data, static_cast<std::uint32_t>(size));
    };
    // A vanished device or a dropped connection ends it as the disconnect button would.
    m_link->OnHangup = [this] {
        enableTimer1();
        setHuntNotice({});
        pressDisconnectButton();
        m_memo->untickRecord();
    };
    // The status text then names the rate found, or gpsd's receiver come or gone.
    m_link->OnStatusChanged = [this] {
        enableTimer1();
        setHuntNotice({});
    };
    // While a serial port's rate is hunted, the status names each rate as it is tried; a round
    // without a sentence is told on the notice line until the rate is found or the port closed.
    cpDrv->OnHuntRate = [this] { ShowConnectionStatus(); };
    cpDrv->OnHuntRoundEnded = [this] {
        QStringList rates;
        for (const std::uint32_t rate : gps::BaudHunt::kRates) {
            rates << QString::number(rate);
        }
        setHuntNotice(
            shortPortName(*cpDrv) + QStringLiteral(": NMEA sakinių nerasta greičiais ") +
            rates.join(QStringLiteral(", ")) +
            QStringLiteral(
                ".\nPatikrinkite: ar tai imtuvo įrenginys; ar imtuvas siunčia NMEA 0183,\n"
                "o ne dvejetainį protokolą; ar jo greitis yra tarp šių."));
    };
}

void TFormMain::Attach(const Companions& companions) {
    m_sat = &companions.sat;
    m_memo = &companions.memo;
    m_set = &companions.set;
    m_qth = &companions.qth;
    connect(m_memo, &TFormMemo::recordToggled, this,
            [this](bool on) { guarded([&] { recordToggled(on); }, this); });
    m_squares = &companions.squares;
    connect(m_sat, &TFormSat::cleared, this, [this] {
        if (m_decoder) {
            m_decoder->ResetSatCycle();
        }
    });
    connect(m_set, &TFormSet::applied, this, [this](const TFormSet::Settings& settings) {
        SetPeriod(settings.period);
        m_sheet->SetRadius(settings.radius);
        m_link->SetPortText(settings.port);
        // The same choice again leaves the line alone: a rate found stays, input is kept.
        if (!runsWithBaud(settings.baud)) {
            setBaud(settings.baud);
        }
    });
}

void TFormMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        try {
            FormShow();
        } catch (const std::exception& e) {
            // Not from inside the show: on X11 the window would come up at a default size
            // (640 x 480) with the designed one in its corner. The box opens over the finished
            // window instead.
            QTimer::singleShot(0, this, [this, error = std::runtime_error(e.what())] {
                showErrorBox(error, this);
            });
        }
    }
}

void TFormMain::closeEvent(QCloseEvent* event) {
    // The program ends even when the settings cannot be saved: the error is shown first.
    guarded([this] { FormClose(); }, this);
    event->accept();
    QCoreApplication::quit();
}

std::int32_t TFormMain::Radius() const {
    return m_sheet->Radius();
}

void TFormMain::SetPeriod(std::int32_t period) {
    m_period = period;
    if (m_decoder) {
        m_decoder->SetPeriod(period);
    }
}

std::string TFormMain::CurrentSquare() const {
    return m_decoder ? m_decoder->CurrentSquare() : std::string();
}

// --- Start-up and shutdown -------------------------------------------------------------------

void TFormMain::FormShow() {
    m_decoder = std::make_unique<gps::NmeaDecoder>(static_cast<gps::DecoderHost&>(*this));
    const IniFile& ini = m_settings;

    const bool bold =
        ini.ReadString(keys::kSection, keys::kFont, keys::kFontNormal) == keys::kFontBold;
    setValueFieldsBold(bold);
    MBold->setChecked(bold);

    MAutoMap->setChecked(ini.ReadBool(keys::kSection, keys::kAutoMap, false));
    MLog->setChecked(ini.ReadBool(keys::kSection, keys::kLog, false));

    const int top = ini.ReadInteger(keys::kSection, keys::kYMain, keys::kMainPlaceDefault);
    const int left = ini.ReadInteger(keys::kSection, keys::kXMain, keys::kMainPlaceDefault);
    move(left, top);

    SetPeriod(ini.ReadInteger(keys::kSection, keys::kPeriod, keys::kPeriodDefault));
    m_sheet->SetRadius(ini.ReadInteger(keys::kSection, keys::kRadius, keys::kRadiusDefault));
    m_link->SetPortText(ini.ReadString(keys::kSection, keys::kPort, keys::kPortDefault));
    setBaud(baudFromText(ini.ReadString(keys::kSection, keys::kBaud, "")));

    const QString separator = QLocale::system().decimalPoint();
    m_decimalSeparator = separator.size() == 1 && separator[0].unicode() < 0x80
                             ? static_cast<char>(separator[0].unicode())
                             : '.';
    m_decoder->SetDecimalSeparator(m_decimalSeparator);
    m_sheet->SetDecimalSeparator(m_decimalSeparator);

    // Built now, not in the first position step (a long log takes a moment). A failure is left to
    // the steps: they try again, and the first of them that cannot write tells of it in the
    // notice line, which would otherwise open with the window and change its designed size.
    try {
        m_visits->Open();
    } catch (const IoError&) {
    }
    startupWrites();
}

// Only after every setting was read and applied: a settings file that cannot be written then
// changes nothing but the saving. Each failure is told in the one start-up box.
void TFormMain::startupWrites() {
    std::string problems;
    const auto attempt = [&problems](const std::function<void()>& write) {
        try {
            write();
        } catch (const IoError& e) {
            problems += (problems.empty() ? "" : "\n") + std::string(e.what());
        }
    };
    attempt([this] { writeBool(keys::kLog, MLog->isChecked()); });
    attempt([this] { m_sheet->Log().CreateIfMissing(); });
    if (!problems.empty()) {
        throw IoError(problems);
    }
}

void TFormMain::FormClose() {
    Disconnect();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct RestoreCursor {
        ~RestoreCursor() { QApplication::restoreOverrideCursor(); }
    } restore;
    m_decoder.reset();
    m_sheet->DeleteUnpackedSheets();
    m_settings.WriteInteger(keys::kSection, keys::kYMain, y());
    m_settings.WriteInteger(keys::kSection, keys::kXMain, x());
    m_settings.WriteInteger(keys::kSection, keys::kPeriod, m_period);
    // Last: the steps since the last change of square. A failure is shown after the rest, unless
    // the notice line has been telling of it all along.
    try {
        m_visits->Save();
    } catch (const IoError&) {
        if (m_writeNotices.Message(maps::WriteNotices::Kind::History).empty()) {
            throw;
        }
    }
}

// --- Connection control ----------------------------------------------------------------------

void TFormMain::Connect() {
    if (m_link->Connected()) {
        return;
    }
    if (m_link->Connect()) {
        enableTimer1();
        if (m_decoder) {
            m_decoder->ResetForConnect();
        }
        if (m_memo->recordTicked()) {
            startRecording();
        }
        return;
    }
    const QString text = QString::fromStdString(m_link->FailureText());
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Klaida"), text, QMessageBox::Ok, this);
    box.exec();
    pressDisconnectButton();
}

void TFormMain::Disconnect() {
    if (m_link->Connected()) {
        m_link->Disconnect();
        enableTimer1();
        m_memo->untickRecord();
    }
}

// Ticked while not connected, the recording begins with the next connection.
void TFormMain::recordToggled(bool on) {
    if (!on) {
        writeInStep(maps::WriteNotices::Kind::NmeaRecording, [this] { m_recorder.Stop(); });
    } else if (m_link->Connected()) {
        startRecording();
    }
}

void TFormMain::startRecording() {
    try {
        m_recorder.Start(m_sheet->ExpeditionFolder(), std::time(nullptr));
    } catch (const IoError&) {
        m_memo->untickRecord();
        throw;
    }
    setHuntNotice({});
}

void TFormMain::btConnectClick() {
    Connect();
    if (m_link->Connected()) {
        pressConnectButton();
    }
}

void TFormMain::btDisconnectClick() {
    Disconnect();
    pressDisconnectButton();
}

void TFormMain::ShowConnectionStatus() {
    if (m_link->Connected()) {
        if (!m_link->IsNetwork() && cpDrv->Hunting()) {
            const QString rate = QString::number(cpDrv->BaudRateValue());
            look::setElidedText(Panel0, QStringLiteral("Ieškoma: ") + rate + QStringLiteral(" bd"));
            Panel0->setToolTip(QStringLiteral("Ieškomas imtuvo greitis prie ") +
                               shortPortName(*cpDrv) + QStringLiteral(": bandoma ") + rate +
                               QStringLiteral(" bd"));
            return;
        }
        look::setElidedText(Panel0, QString::fromStdString(m_link->StatusText()));
    } else {
        look::setElidedText(Panel0, QStringLiteral("Neprijungta"));
    }
}

void TFormMain::Timer1Timer() {
    Timer1->stop();
    ShowConnectionStatus();
}

void TFormMain::setBaud(std::int32_t baud) {
    if (baud == keys::kBaudAuto) {
        cpDrv->SetAutoBaud(true);
    } else {
        cpDrv->SetBaudRateValue(static_cast<std::uint32_t>(baud));
        // A rate set by hand ends the hunt, and what the hunt had to tell.
        setHuntNotice({});
        if (cpDrv->Connected()) {
            ShowConnectionStatus();
        }
    }
}

bool TFormMain::runsWithBaud(std::int32_t baud) const {
    if (baud == keys::kBaudAuto) {
        return cpDrv->AutoBaud();
    }
    return !cpDrv->AutoBaud() && cpDrv->BaudRateValue() == static_cast<std::uint32_t>(baud);
}

void TFormMain::pressConnectButton() {
    btConnect->setChecked(true);
}

void TFormMain::pressDisconnectButton() {
    btDisconnect->setChecked(true);
}

void TFormMain::enableTimer1() {
    // Enabling a running timer does not restart it.
    if (!Timer1->isActive()) {
        Timer1->start();
    }
}

// --- Menu ------------------------------------------------------------------------------------

void TFormMain::writeBool(const char* key, bool value) {
    m_settings.WriteBool(keys::kSection, key, value);
}

// The menu action has already inverted its tick when these run.
void TFormMain::MLogClick() {
    withdrawNoticeWhenOff(maps::WriteNotices::Kind::Log, MLog->isChecked());
    writeBool(keys::kLog, MLog->isChecked());
}

void TFormMain::MAutoMapClick() {
    withdrawNoticeWhenOff(maps::WriteNotices::Kind::SaveMap, MAutoMap->isChecked());
    writeBool(keys::kAutoMap, MAutoMap->isChecked());
}

// A notice about writes the user has just turned off would tell of something no longer tried.
void TFormMain::withdrawNoticeWhenOff(maps::WriteNotices::Kind kind, bool on) {
    if (!on && m_writeNotices.Succeeded(kind)) {
        showNotices();
    }
}

void TFormMain::MBoldClick() {
    const bool bold = MBold->isChecked();
    setValueFieldsBold(bold);
    m_settings.WriteString(keys::kSection, keys::kFont, bold ? keys::kFontBold : keys::kFontNormal);
}

// The value fields take the fix panel's font; its labels and buttons carry their own.
void TFormMain::setValueFieldsBold(bool bold) {
    QFont font = Panel5->font();
    font.setBold(bold);
    Panel5->setFont(font);
}

void TFormMain::MSetUpClick() {
    Disconnect();
    pressDisconnectButton();
}

void TFormMain::SetUp() {
    m_set->show();
}

void TFormMain::MQTHClick() {
    Disconnect();
    pressDisconnectButton();
    m_qth->exec();
}

void TFormMain::RXShow() {
    m_memo->setVisible(!m_memo->isVisible());
}

void TFormMain::Sats() {
    m_sat->show();
    m_sat->raise();
    m_sat->activateWindow();
}

void TFormMain::Squares() {
    m_squares->show();
    m_squares->raise();
    m_squares->activateWindow();
}

void TFormMain::ShowSquare(const std::string& code) {
    Disconnect();
    pressDisconnectButton();
    m_sheet->KEMSquare(code);
}

void TFormMain::Baigti() {
    close();
}

void TFormMain::Refresh() {
    m_sheet->KEMSquare(CurrentSquare());
}

// --- Expedition maps -------------------------------------------------------------------------

void TFormMain::MWayClick() {
    m_sheet->SaveMap(CurrentSquare());
    if (m_writeNotices.Succeeded(maps::WriteNotices::Kind::SaveMap)) {
        showNotices();
    }
}

void TFormMain::OpenExpedClick() {
    Panel4->show();
    Panel4->raise();
    FileListBox1->SetFileNames(maps::savedMapNames(m_sheet->ExpeditionFolder()));
    FileListBox1->setFocus();
}

// The log and the saved maps beside it as a GPX file the user names.
void TFormMain::MExportGpxClick() {
    QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Eksportuoti GPX"),
        QString::fromLocal8Bit(m_sheet->ExpeditionFolder() + "Log.gpx"),
        QStringLiteral("GPX failai (*.gpx)"));
    if (path.isEmpty()) {
        return;
    }
    if (!path.endsWith(QStringLiteral(".gpx"), Qt::CaseInsensitive)) {
        path += QStringLiteral(".gpx");
    }
    const maps::GpxExportCount count =
        maps::exportLogFile(m_sheet->Log().Path(), QFile::encodeName(path).toStdString());
    QMessageBox box(QMessageBox::Information, QApplication::applicationName(),
                    QString::fromUtf8(maps::exportSummary(count)), QMessageBox::Ok, this);
    box.exec();
}

void TFormMain::FileListBox1Click() {
    const std::string name = FileListBox1->FileName();
    if (name.empty()) {
        return;
    }
    m_sheet->LoadPicture(m_sheet->ExpeditionFolder() + name);
    Panel4->hide();
    Disconnect();
}

void TFormMain::FileListBox1DblClick() {
    Panel4->hide();
}

void TFormMain::showPicture(const QImage& picture) {
    Image1->setPixmap(QPixmap::fromImage(picture));
}

// --- Receiving -------------------------------------------------------------------------------

void TFormMain::cpDrvReceiveData(const char* data, std::uint32_t size) {
    if (m_recorder.Recording()) {
        writeInStep(maps::WriteNotices::Kind::NmeaRecording, [&] {
            m_recorder.Record({data, size});
        });
    }
    if (m_decoder) {
        m_decoder->Receive(reinterpret_cast<const std::uint8_t*>(data), size);
    }
}

bool TFormMain::AutoMapChecked() {
    return MAutoMap->isChecked();
}
bool TFormMain::LogChecked() {
    return MLog->isChecked();
}
bool TFormMain::MemoVisible() {
    return m_memo->isVisible();
}
bool TFormMain::SatWindowVisible() {
    return m_sat->isVisible();
}

std::string TFormMain::CalcKEM(const std::string& latRaw, const std::string& longRaw) {
    return maps::CalcKEM(latRaw, longRaw, m_decimalSeparator);
}

void TFormMain::Beep() {
    QApplication::beep();
}

void TFormMain::SaveMap(const std::string& square) {
    writeInStep(maps::WriteNotices::Kind::SaveMap, [&] { m_sheet->SaveMap(square); });
}

void TFormMain::KEMSquare(const std::string& code) {
    m_sheet->KEMSquare(code);
}

void TFormMain::ToLog(const gps::GpsFix& fix) {
    writeInStep(maps::WriteNotices::Kind::Log, [&] {
        m_sheet->ToLog(
            {fix.DateTimeText, fix.LatText, fix.LongText, fix.AltitudeText, fix.GeoidText});
    });
}

// A failure here must not end the step: the decoder would keep the old square, so every following
// position sentence would beep and save again while the sheet stood still, and a failed log line
// would skip the mark. Nor a box: it would open at every step during reception.
void TFormMain::writeInStep(maps::WriteNotices::Kind kind, const std::function<void()>& write) {
    bool changed = false;
    try {
        write();
        changed = m_writeNotices.Succeeded(kind);
    } catch (const IoError& e) {
        changed = m_writeNotices.Failed(kind, maps::writeFailureText(e));
    }
    if (changed) {
        showNotices();
    }
}

void TFormMain::setHuntNotice(const QString& notice) {
    if (notice != m_huntNotice) {
        m_huntNotice = notice;
        showNotices();
    }
}

void TFormMain::showNotices() {
    using Kind = maps::WriteNotices::Kind;
    const std::pair<Kind, QString> kinds[] = {
        {Kind::SaveMap, QStringLiteral("Žemėlapis neišsaugotas: ")},
        {Kind::Log, QStringLiteral("Žurnalo eilutė neįrašyta: ")},
        {Kind::NmeaRecording, QStringLiteral("NMEA neįrašyta: ")},
        {Kind::History, QStringLiteral("Aplankytų kvadratų istorija neįrašyta: ")},
    };
    QStringList lines;
    for (const auto& [kind, caption] : kinds) {
        if (const std::string& message = m_writeNotices.Message(kind); !message.empty()) {
            lines << caption + fromCp1257(message);
        }
    }
    if (!m_huntNotice.isEmpty()) {
        lines << m_huntNotice;
    }
    look::setElidedText(pnNotice, lines.join(QLatin1Char('\n')));
    statusBar()->setVisible(!lines.isEmpty());
}

void TFormMain::ToMap(const std::string& latRaw, const std::string& longRaw) {
    m_sheet->ToMap(latRaw, longRaw);
    writeInStep(maps::WriteNotices::Kind::History, [&] {
        m_visits->Step(maps::LatLongFromRaw(latRaw, longRaw, m_decimalSeparator),
                       std::time(nullptr));
    });
    if (m_squares->isVisible()) {
        m_squares->Refresh();
    }
}

void TFormMain::SetClipboardText(const std::string& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(fromCp1257(text));
}

void TFormMain::EchoLines(std::span<const std::string> lines) {
    m_memo->echoLines(lines);
}

void TFormMain::ScrollMemoToCaret() {
    m_memo->scrollToCaret();
}

void TFormMain::SetSatelliteCell(int row, gps::SatColumn column, const std::string& text) {
    m_sat->setCell(row, static_cast<int>(column), fromCp1257(text));
}

void TFormMain::ShowSats() {
    m_sat->ShowSats();
}

void TFormMain::FixChanged(const gps::GpsFix& fix, gps::FixFieldSet changed) {
    showFix(fix, changed);
}

void TFormMain::showFix(const gps::GpsFix& fix, gps::FixFieldSet changed) {
    using gps::FixField;
    const std::pair<FixField, std::pair<QLabel*, const std::string*>> texts[] = {
        {FixField::DateTime, {pnDateTime, &fix.DateTimeText}},
        {FixField::Speed, {edSpeed, &fix.SpeedText}},
        {FixField::Time, {edLastTime, &fix.TimeText}},
        {FixField::Lat, {edLat, &fix.LatText}},
        {FixField::Long, {edLong, &fix.LongText}},
        {FixField::Altitude, {edH1, &fix.AltitudeText}},
        {FixField::Geoid, {edH2, &fix.GeoidText}},
        {FixField::Sats, {edSat, &fix.SatsText}},
        {FixField::Mode, {edPrec, &fix.ModeText}},
    };
    for (const auto& [field, target] : texts) {
        if (changed.Contains(field)) {
            target.first->setText(fromCp1257(*target.second));
        }
    }
    if (changed.Contains(FixField::NoFix)) {
        showNoFix(fix.NoFix);
    }
}

void TFormMain::showNoFix(bool noFix) {
    QPalette palette = edPrec->palette();
    palette.setColor(QPalette::Base,
                     noFix ? look::kRed : QApplication::palette().color(QPalette::Base));
    edPrec->setPalette(palette);
}

}  // namespace kem
