// The controls and the menu of the main window, placed as designed (pixels of the client area).
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include "app/Artwork.h"
#include "app/FileListBox.h"
#include "app/TFormMain.h"
#include "base/ui/WindowLook.h"
#include "gps/ReceiverLink.h"
#include "gps/TCommPortDriver.h"

namespace kem {
namespace {

constexpr int kClientWidth = 467;
constexpr int kClientHeight = 350;
constexpr int kSheetWidth = 172;
constexpr int kSheetHeight = 306;

QLabel* makeLabel(QWidget* parent, const QString& text, int left, int top) {
    auto* label = new QLabel(text, parent);
    look::placeAt(label, left, top);
    return label;
}

// A sunken panel whose caption is its text, centred.
QLabel* makeTextPanel(QWidget* parent, int left, int top, int width, int height) {
    auto* panel = new QLabel(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    look::place(panel, left, top, width, height);
    return panel;
}

QToolButton* makeSpeedButton(QWidget* parent, const QString& caption, int left, int top, int width,
                             int height) {
    auto* button = new QToolButton(parent);
    button->setText(caption);
    button->setCheckable(true);
    button->setFont(look::formFont());
    look::place(button, left, top, width, height);
    return button;
}

}  // namespace

void TFormMain::buildWindow() {
    setWindowTitle(QStringLiteral("KEM GPS  V 1.1  "));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(look::formFont());

    auto* client = new QFrame(this);
    client->setFrameStyle(QFrame::Panel | QFrame::Raised);
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);

    auto* Label3 = makeLabel(client, QStringLiteral("KEM GPS"), 276, 8);
    Label3->setFont(look::titleFont(26));
    Label3->setStyleSheet(QStringLiteral("color: rgb(0, 0, 128)"));
    look::placeAt(Label3, 276, 8);

    auto* Label8 = new QLabel(QStringLiteral("V 1.1,  2003"), client);
    Label8->setAlignment(Qt::AlignHCenter);
    look::place(Label8, 278, 40, 130, 14);
    makeLabel(client, QStringLiteral("Laisvai platinama programa radijo mėgėjams"), 246, 54);

    auto* Image3 = new QLabel(client);
    Image3->setPixmap(artwork::programIcon());
    look::place(Image3, 408, 8, 35, 35);
    setWindowIcon(QIcon(artwork::programIcon()));

    btClear = look::named(new QToolButton(client), "btClear");
    btClear->setText(QStringLiteral("At&naujinti"));
    btClear->setToolTip(QStringLiteral("Atnaujinti žemelapi <Alt+N>"));
    btClear->setAutoRaise(true);
    look::place(btClear, 189, 6, 70, 25);

    auto* Panel1 = new QFrame(client);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setAutoFillBackground(true);
    Panel1->setBackgroundRole(QPalette::ToolTipBase);
    look::place(Panel1, 9, 5, 178, 341);
    Image1 = look::named(new QLabel(Panel1), "Image1");
    Image1->setAlignment(Qt::AlignCenter);
    look::place(Image1, 1, 1, kSheetWidth, kSheetHeight);
    auto* Image2 = new QLabel(Panel1);
    Image2->setPixmap(artwork::scaleBar());
    look::place(Image2, -4, 309, 178, 29);

    Panel4 = look::named(new QFrame(client), "Panel4");
    Panel4->setFrameStyle(QFrame::Panel | QFrame::Raised);
    look::place(Panel4, 32, 32, 169, 225);
    FileListBox1 = look::named(new FileListBox(Panel4), "FileListBox1");
    look::place(FileListBox1, 2, 2, 165, 221);
    Panel4->hide();

    buildFixPanel();
    Panel5->setParent(client);
    look::place(Panel5, 200, 73, 257, 244);

    pnDateTime = look::named(makeTextPanel(client, 200, 323, 142, 20), "pnDateTime");
    Panel0 = look::named(makeTextPanel(client, 346, 323, 110, 19), "Panel0");

    buildMenu();
    // Below the designed client area, and only while an automatic write fails.
    pnNotice = look::named(new QLabel(this), "pnNotice");
    pnNotice->setFixedWidth(kClientWidth - 8);
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(pnNotice);
    statusBar()->hide();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    Timer1 = look::named(new QTimer(this), "Timer1");
    Timer1->setInterval(1000);

    cpDrv = look::named(new gps::TCommPortDriver(this), "cpDrv");
    cpDrv->SetPort(gps::pnCustom);
    cpDrv->SetPortName(std::string(gps::kDevicePrefix) + "ttyS0");
    m_link = new gps::ReceiverLink(*cpDrv, this);
    cpDrv->SetBaudRate(gps::brCustom);
    cpDrv->SetBaudRateValue(4800);
    cpDrv->SetHwFlow(gps::hfRTSCTS);
}

QLabel* TFormMain::addValueField(const char* name, const char* caption, int left, int top,
                                 int width, int height) {
    auto* field = look::named(new QLabel(Panel5), name);
    field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    field->setAlignment(Qt::AlignCenter);
    field->setAutoFillBackground(true);
    field->setBackgroundRole(QPalette::Base);
    look::place(field, left, top, width, height);
    if (caption != nullptr) {
        // The labels keep their own font, so the bold setting reaches only the value fields.
        auto* label = new QLabel(QString::fromUtf8(caption), Panel5);
        label->setFont(look::formFont());
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        look::place(label, 2, top, left - 6, height);
    }
    return field;
}

void TFormMain::buildFixPanel() {
    Panel5 = look::named(new QFrame(this), "Panel5");
    Panel5->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel5->setFont(look::formFont());

    edPrec = addValueField("edPrec", "Režimas", 60, 6, 23, 20);
    showNoFix(true);
    edSat = addValueField("edSat", "Skaičiavimui panaudoti", 158, 35, 25, 18);
    auto* satellites = new QLabel(QStringLiteral("palydovai"), Panel5);
    satellites->setFont(look::formFont());
    look::place(satellites, 187, 35, 66, 18);
    edLastTime = addValueField("edLastTime", "Matavimų laikas, UTC", 158, 59, 82, 18);
    edLat = addValueField("edLat", "Geografinė platuma", 158, 83, 82, 18);
    edLong = addValueField("edLong", "Geografinė iIguma", 158, 107, 82, 18);
    edH1 = addValueField("edH1", "Vietovės aukštis", 158, 131, 82, 18);
    edH2 = addValueField("edH2", "Aukščio virš jūros lygio pataisa", 189, 155, 52, 18);
    edSpeed = addValueField("edSpeed", "Judėjimo greitis, km/h", 189, 178, 52, 18);

    btConnect = look::named(makeSpeedButton(Panel5, QStringLiteral("&Prijungti"), 60, 210, 74, 23),
                            "btConnect");
    btDisconnect = look::named(
        makeSpeedButton(Panel5, QStringLiteral("&Atjungti"), 140, 210, 74, 23), "btDisconnect");
    btDisconnect->setChecked(true);
}

void TFormMain::buildMenu() {
    QMenuBar* bar = menuBar();
    QMenu* MFailai = bar->addMenu(QStringLiteral("&Failai"));
    MLog = look::named(MFailai->addAction(QStringLiteral("Vesti matavimų žurnalą")), "MLog");
    MLog->setCheckable(true);
    MAutoMap = look::named(MFailai->addAction(QStringLiteral("Automatiškai išsaugoti žemelapius")),
                           "MAutoMap");
    MAutoMap->setCheckable(true);
    MFailai->addSeparator();
    MWay =
        look::named(MFailai->addAction(QStringLiteral("Išsaugoti ekspedicijos žemėlapį")), "MWay");
    OpenExped = look::named(MFailai->addAction(QStringLiteral("Atidaryti ekspedicijos žemelapį")),
                            "OpenExped");
    MExportGpx =
        look::named(MFailai->addAction(QStringLiteral("Eksportuoti GPX...")), "MExportGpx");
    MFailai->addSeparator();
    MQTH = look::named(MFailai->addAction(QStringLiteral("Skaičiuoti ir rodyti QTH")), "MQTH");
    MFailai->addSeparator();
    MBaigti2 =
        look::named(MFailai->addAction(QStringLiteral("Baigti darbą programoje")), "MBaigti2");

    MSetUp = look::named(bar->addMenu(QStringLiteral("N&ustatymai")), "MSetUp");
    MBold = look::named(MSetUp->addAction(QStringLiteral("&Pajuodintas šriftas")), "MBold");
    MBold->setCheckable(true);
    Kitinustatymai1 =
        look::named(MSetUp->addAction(QStringLiteral("&Kiti nustatymai...")), "Kitinustatymai1");

    MGPS = look::named(bar->addAction(QStringLiteral("&GPS tekstas")), "MGPS");
    MSat = look::named(bar->addAction(QStringLiteral("Palyd&ovai")), "MSat");
    MSquares = look::named(bar->addAction(QStringLiteral("&Kvadratų apžvalga")), "MSquares");
    MClose = look::named(bar->addAction(QStringLiteral("&Baigti")), "MClose");
}

}  // namespace kem
