#include "app/Forms.h"

#include <QApplication>

#include "app/TFormMain.h"
#include "app/TFormSet.h"
#include "base/IniFile.h"
#include "base/SettingsKeys.h"
#include "gps/TFormMemo.h"
#include "maps/MapSheet.h"
#include "maps/TFormQTH.h"
#include "maps/TFormSquares.h"
#include "sats/TFormSat.h"

namespace kem {

TFormMain* FormMain = nullptr;
TFormSat* FormSat = nullptr;
TFormMemo* FormMemo = nullptr;
TFormSet* FormSet = nullptr;
TFormQTH* FormQTH = nullptr;
TFormSquares* FormSquares = nullptr;

Forms::Forms(const std::string& programDir) {
    m_settings = std::make_unique<IniFile>(programDir + settings::kFileName);
    m_main = std::make_unique<TFormMain>(programDir, *m_settings);
    FormMain = m_main.get();
    m_sat = std::make_unique<TFormSat>();
    FormSat = m_sat.get();
    m_memo = std::make_unique<TFormMemo>();
    FormMemo = m_memo.get();
    m_set = std::make_unique<TFormSet>(*m_settings);
    FormSet = m_set.get();
    m_qth = std::make_unique<TFormQTH>(*m_settings, m_main->Sheet(), [] { QApplication::beep(); });
    FormQTH = m_qth.get();
    TFormMain* main = m_main.get();
    m_squares =
        std::make_unique<TFormSquares>(main->Visits(), main->Sheet().SquareDataFile(),
                                       [main](const std::string& code) { main->ShowSquare(code); });
    FormSquares = m_squares.get();
    m_main->Attach({*m_sat, *m_memo, *m_set, *m_qth, *m_squares});
}

Forms::~Forms() {
    // The main window goes first: its driver stops before the windows it feeds are gone.
    m_main.reset();
    FormMain = nullptr;
    m_squares.reset();
    FormSquares = nullptr;
    m_qth.reset();
    FormQTH = nullptr;
    m_set.reset();
    FormSet = nullptr;
    m_memo.reset();
    FormMemo = nullptr;
    m_sat.reset();
    FormSat = nullptr;
}

}  // namespace kem
