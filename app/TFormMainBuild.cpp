// The controls and the menu of the main window, placed as designed (pixels of the client area).
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolButton>

#include "app/Artwork.h"
#include "app/TFormMain.h"
#include "app/WindowLook.h"
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

    Label3 = makeLabel(client, QStringLiteral("KEM GPS"), 276, 8);
    Label3->setFont(look::titleFont(26));
    Label3->setStyleSheet(QStringLiteral("color: rgb(0, 0, 128)"));
    look::placeAt(Label3, 276, 8);

    Label8 = new QLabel(QStringLiteral("V 1.1,  2003"), client);
    Label8->setAlignment(Qt::AlignHCenter);
    look::place(Label8, 278, 40, 130, 14);
    Label13 =
        makeLabel(client, QStringLiteral("Laisvai platinama programa radijo mėgėjams"), 246, 54);

    Image3 = new QLabel(client);
    Image3->setPixmap(artwork::programIcon());
    look::place(Image3, 408, 8, 35, 35);
    setWindowIcon(QIcon(artwork::programIcon()));

    btClear = new QToolButton(client);
    btClear->setText(QStringLiteral("At&naujinti"));
    btClear->setToolTip(QStringLiteral("Atnaujinti žemelapi <Alt+N>"));
    btClear->setAutoRaise(true);
    look::place(btClear, 189, 6, 70, 25);

    Panel1 = new QFrame(client);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setAutoFillBackground(true);
    Panel1->setBackgroundRole(QPalette::ToolTipBase);
    look::place(Panel1, 9, 5, 178, 341);
    Image1 = new QLabel(Panel1);
    Image1->setAlignment(Qt::AlignCenter);
    look::place(Image1, 1, 1, kSheetWidth, kSheetHeight);
    Image2 = new QLabel(Panel1);
    Image2->setPixmap(artwork::scaleBar());
    look::place(Image2, -4, 309, 178, 29);

    Panel4 = new QFrame(client);
    Panel4->setFrameStyle(QFrame::Panel | QFrame::Raised);
    look::place(Panel4, 32, 32, 169, 225);
    FileListBox1 = new QListWidget(Panel4);
    look::place(FileListBox1, 2, 2, 165, 221);
    Panel4->hide();

    buildFixPanel();
    Panel5->setParent(client);
    look::place(Panel5, 200, 73, 257, 244);

    pnDateTime = makeTextPanel(client, 200, 323, 142, 20);
    Panel0 = makeTextPanel(client, 346, 323, 110, 19);

    buildMenu();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);

    cpDrv = new gps::TCommPortDriver(this);
    cpDrv->SetPort(gps::pnCustom);
    cpDrv->SetPortName(std::string(gps::kDevicePrefix) + "ttyS0");
    cpDrv->SetBaudRate(gps::brCustom);
    cpDrv->SetBaudRateValue(4800);
    cpDrv->SetHwFlow(gps::hfRTSCTS);
}

QLabel* TFormMain::addValueField(const char* caption, int left, int top, int width, int height) {
    auto* field = new QLabel(Panel5);
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
    Panel5 = new QFrame(this);
    Panel5->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel5->setFont(look::formFont());

    edPrec = addValueField("Režimas", 60, 6, 23, 20);
    showNoFix(true);
    edSat = addValueField("Skaičiavimui panaudoti", 158, 35, 25, 18);
    auto* satellites = new QLabel(QStringLiteral("palydovai"), Panel5);
    satellites->setFont(look::formFont());
    look::place(satellites, 187, 35, 66, 18);
    edLastTime = addValueField("Matavimų laikas, UTC", 158, 59, 82, 18);
    edLat = addValueField("Geografinė platuma", 158, 83, 82, 18);
    edLong = addValueField("Geografinė iIguma", 158, 107, 82, 18);
    edH1 = addValueField("Vietovės aukštis", 158, 131, 82, 18);
    edH2 = addValueField("Aukščio virš jūros lygio pataisa", 189, 155, 52, 18);
    edSpeed = addValueField("Judėjimo greitis, km/h", 189, 178, 52, 18);

    btConnect = makeSpeedButton(Panel5, QStringLiteral("&Prijungti"), 60, 210, 74, 23);
    btDisconnect = makeSpeedButton(Panel5, QStringLiteral("&Atjungti"), 140, 210, 74, 23);
    btDisconnect->setChecked(true);
}

void TFormMain::buildMenu() {
    QMenuBar* bar = menuBar();
    MFailai = bar->addMenu(QStringLiteral("&Failai"));
    MLog = MFailai->addAction(QStringLiteral("Vesti matavimų žurnalą"));
    MLog->setCheckable(true);
    MAutoMap = MFailai->addAction(QStringLiteral("Automatiškai išsaugoti žemelapius"));
    MAutoMap->setCheckable(true);
    MFailai->addSeparator();
    MWay = MFailai->addAction(QStringLiteral("Išsaugoti ekspedicijos žemėlapį"));
    OpenExped = MFailai->addAction(QStringLiteral("Atidaryti ekspedicijos žemelapį"));
    MFailai->addSeparator();
    MQTH = MFailai->addAction(QStringLiteral("Skaičiuoti ir rodyti QTH"));
    MFailai->addSeparator();
    MBaigti2 = MFailai->addAction(QStringLiteral("Baigti darbą programoje"));

    MSetUp = bar->addMenu(QStringLiteral("N&ustatymai"));
    MBold = MSetUp->addAction(QStringLiteral("&Pajuodintas šriftas"));
    MBold->setCheckable(true);
    Kitinustatymai1 = MSetUp->addAction(QStringLiteral("&Kiti nustatymai..."));

    MGPS = bar->addAction(QStringLiteral("&GPS tekstas"));
    MSat = bar->addAction(QStringLiteral("Palyd&ovai"));
    MClose = bar->addAction(QStringLiteral("&Baigti"));
}

}  // namespace kem
