// CFakeOs: an in-memory file system for the folder choice, with Windows or Linux separators.
#pragma once
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/os.h"
#include "test_util.h"

// Files that are opened hold real scratch files, so reads and writes go to the real services.
class CFakeOs : public platform::CRealOs {
public:
    char16_t sep = u'\\';
    size_t maxPath = 259;
    std::u16string exe, docs, appData;
    std::u16string cwd = u"C:\\cwd";
    std::set<std::u16string> cdRoms;                // CD-ROM paths, by the exact path asked
    std::set<std::u16string> folders;               // existing folders, no trailing separator
    std::set<std::u16string> files;                 // existing readable files
    std::map<std::u16string, std::string> contents; // what reading a file gives (else nothing)
    std::set<std::u16string> readOnlyFolders;       // no file can be created in these
    bool createFolderFails = false;

    mutable std::vector<std::u16string> driveQueries, createdFolders, createdFiles;

    char16_t PathSeparator() const override { return sep; }
    size_t MaxPathLength() const override { return maxPath; }
    std::u16string ExecutablePath() const override { return exe; }
    std::u16string DocumentsFolder() const override { return docs; }
    std::u16string AppDataFolder() const override { return appData; }
    bool IsCdRom(const std::u16string& p) const override
    {
        driveQueries.push_back(p);
        return cdRoms.count(p) > 0;
    }
    bool FullPath(const std::u16string& p, std::u16string& full) const override
    {
        const bool absolute = (p.size() > 1 && p[1] == u':') || (!p.empty() && p[0] == sep);
        full = absolute ? p : cwd + sep + p;
        return full.size() <= maxPath;
    }
    bool Exists(const std::u16string& p) const override { return folders.count(Trim(p)) || files.count(p); }
    bool CreateFolder(const std::u16string& p) const override
    {
        if (createFolderFails || Exists(p) || !folders.count(Parent(p)))
            return false;
        const_cast<CFakeOs*>(this)->folders.insert(Trim(p));
        createdFolders.push_back(p);
        return true;
    }
    bool IsReadOnlyFile(const std::u16string&) const override { return false; }
    platform::CFile OpenForReading(const std::u16string& p) const override
    {
        if (!files.count(p))
            return {};
        auto it = contents.find(p);
        return ScratchFile(it == contents.end() ? std::string() : it->second);
    }
    platform::CFile OpenForWriting(const std::u16string& p) const override { return CreateNewFile(p); }
    platform::CFile CreateNewFile(const std::u16string& p) const override
    {
        const std::u16string parent = Parent(p);
        if (readOnlyFolders.count(parent) || !folders.count(parent))
            return {};
        createdFiles.push_back(p);
        return ScratchFile({});
    }
    platform::CFile OpenForUpdate(const std::u16string& p) const override { return OpenForReading(p); }
    platform::CFile CreateUniqueFile(const std::u16string& prefix, const std::u16string& suffix,
                                     std::u16string& path) const override
    {
        path = prefix + u"unique" + suffix;
        return CreateNewFile(path);
    }
    std::u16string ResolveLinks(const std::u16string& p) const override { return p; }
    bool RemoveFile(const std::u16string& p) const override
    {
        return const_cast<CFakeOs*>(this)->files.erase(p) > 0;
    }
    bool MoveReplace(const std::u16string&, const std::u16string&) const override { return false; }

private:
    std::u16string Trim(std::u16string p) const
    {
        while (p.size() > 1 && p.back() == sep)
            p.pop_back();
        return p;
    }
    // The folder holding p; the current folder for a bare name.
    std::u16string Parent(const std::u16string& p) const
    {
        const std::u16string t = Trim(p);
        const size_t k = t.rfind(sep);
        return k == std::u16string::npos ? cwd : Trim(t.substr(0, k + 1));
    }
};
