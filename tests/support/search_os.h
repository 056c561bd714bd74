// CSearchOs: the real OS with the program search scripted, so that a test's "not found" stays
// not found on any machine: PATH gives onPath for every name, and the install folders are roots.
#pragma once
#include "platform/real_os.h"

#include <string>
#include <vector>

class CSearchOs : public platform::CRealOs {
public:
    std::u16string onPath;
    std::vector<std::u16string> roots;
    std::u16string FindOnPathVariable(const std::u16string&) const override { return onPath; }
    std::vector<std::u16string> ProgramInstallRoots() const override { return roots; }
};
