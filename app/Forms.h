#pragma once

#include <memory>
#include <string>

namespace kem {

class IniFile;
class TFormMain;
class TFormSat;
class TFormMemo;
class TFormSet;
class TFormQTH;
class TFormSquares;

// The windows of KEMGPS, reachable by the program and its tests while a Forms object lives.
// No window reaches another through these: each gets what it needs when it is made.
extern TFormMain* FormMain;
extern TFormSat* FormSat;
extern TFormMemo* FormMemo;
extern TFormSet* FormSet;
extern TFormQTH* FormQTH;
extern TFormSquares* FormSquares;

// Opens the settings file of the program folder and creates the windows hidden, in their fixed
// order (the main window first); destroys them with itself. The main window is shown by the
// caller.
class Forms {
public:
    explicit Forms(const std::string& programDir);
    ~Forms();
    Forms(const Forms&) = delete;
    Forms& operator=(const Forms&) = delete;

private:
    std::unique_ptr<IniFile> m_settings;
    std::unique_ptr<TFormMain> m_main;
    std::unique_ptr<TFormSat> m_sat;
    std::unique_ptr<TFormMemo> m_memo;
    std::unique_ptr<TFormSet> m_set;
    std::unique_ptr<TFormQTH> m_qth;
    std::unique_ptr<TFormSquares> m_squares;
};

}  // namespace kem
