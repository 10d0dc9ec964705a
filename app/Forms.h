#pragma once

#include <memory>

namespace kem {

class TFormMain;
class TFormSat;
class TFormMemo;
class TFormSet;
class TFormQTH;

// The five windows of KEMGPS, reachable program-wide while a Forms object lives.
extern TFormMain* FormMain;
extern TFormSat* FormSat;
extern TFormMemo* FormMemo;
extern TFormSet* FormSet;
extern TFormQTH* FormQTH;

// Creates the windows hidden, in their fixed order (the main window first), and destroys them
// with itself; the main window is shown by the caller.
class Forms {
public:
    Forms();
    ~Forms();
    Forms(const Forms&) = delete;
    Forms& operator=(const Forms&) = delete;

private:
    std::unique_ptr<TFormMain> m_main;
    std::unique_ptr<TFormSat> m_sat;
    std::unique_ptr<TFormMemo> m_memo;
    std::unique_ptr<TFormSet> m_set;
    std::unique_ptr<TFormQTH> m_qth;
};

}  // namespace kem
