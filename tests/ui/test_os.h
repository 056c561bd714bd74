// What the tool-run tests need from their OS: the pane and a narrow sample text.
#pragma once
#include "ui/framework/edit.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace toolrun_test {
// An output pane: Windows a real multi-line read-only EDIT control in a real window;
// Linux an in-memory edit control.
class CTestPane {
public:
    virtual ~CTestPane() = default;
    lvp::CEdit m_edit;
};
// bOnScreen: placed where a screenshot sees it, else off-screen.
std::unique_ptr<CTestPane> MakeTestPane(bool bOnScreen = false);

// Switches the narrow code page to one with characters of several bytes, and returns a
// line in it with its UTF-16 text; the destructor switches back.
class CMultiByteLocale {
public:
    CMultiByteLocale();
    ~CMultiByteLocale();
    std::string m_strBytes;
    std::u16string m_strText;
    bool m_bActive = false;

private:
    std::string m_strBefore;
};

// Arguments that only this OS can pass unchanged (POSIX: bytes that are not UTF-8).
std::vector<std::u16string> OsArgumentSamples();
} // namespace toolrun_test
