// CLookupOs: the OS as the program search sees it, in memory: files that open, folders, a
// current folder (in which relative paths are completed), what PATH gives for a name, and the
// install folders.
#pragma once
#include "platform/real_os.h"

#include <map>
#include <set>
#include <string>
#include <vector>

class CLookupOs : public platform::CRealOs {
public:
    char16_t sep = u'\\';
    std::u16string suffix = u".exe"; // of program file names
    std::set<std::u16string> files, folders;
    std::u16string cwd;
    bool cwdOk = true;
    std::map<std::u16string, std::u16string> onPath; // file name -> what the PATH search gives
    std::vector<std::u16string> roots;
    mutable std::vector<std::u16string> opened; // every path asked to open, in order

    char16_t PathSeparator() const override { return sep; }
    bool FileOpensForReading(const std::u16string& p) const override
    {
        opened.push_back(p);
        return files.count(p) != 0;
    }
    // "." is the current folder; another path is taken in it, a drive's ("C:x") too.
    bool FullPath(const std::u16string& p, std::u16string& full) const override
    {
        full = cwd;
        if (p != u".") {
            if (!full.ends_with(sep))
                full.push_back(sep);
            full.append(p.size() > 1 && p[1] == u':' ? p.substr(2) : p);
        }
        return cwdOk;
    }
    std::u16string ExecutableFileName(const std::u16string& base) const override { return base + suffix; }
    std::u16string FindOnPathVariable(const std::u16string& name) const override
    {
        auto it = onPath.find(name);
        return it == onPath.end() ? u"" : it->second;
    }
    std::vector<std::u16string> ProgramInstallRoots() const override { return roots; }
    // In no particular order (reversed), as a directory listing may come.
    std::vector<std::u16string> FoldersStartingWith(const std::u16string& prefix) const override
    {
        std::vector<std::u16string> found;
        for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
            if (it->starts_with(prefix) && it->find(sep, prefix.size()) == std::u16string::npos)
                found.push_back(*it);
        }
        return found;
    }
};
