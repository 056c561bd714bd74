// CFaultOs: the real services, with the n-th call of a file operation failing (a full disk, a
// short write, a refused flush, close, replace, creation), in the style of SQLite's test VFS.
#pragma once
#include <string>

#include "test_util.h"

class CFaultOs : public CRedirectedOs {
public:
    using CRedirectedOs::CRedirectedOs;

    long failAt = -1;           // index of the counted call that fails; -1: none fails
    bool shortWrite = true;     // a failing Write writes half its bytes (false: none, as on a full disk)
    bool noTempFiles = false;   // the folder takes no new file (uncounted): Save must write in place
    mutable long calls = 0;     // counted calls so far
    mutable std::string failed; // the operation that failed, for messages

    platform::CFile CreateUniqueFile(const std::u16string& prefix, const std::u16string& suffix,
                                     std::u16string& path) const override
    {
        if (noTempFiles || Fails("create unique"))
            return {};
        return platform::CRealOs::CreateUniqueFile(prefix, suffix, path);
    }
    platform::CFile CreateNewFile(const std::u16string& p) const override
    {
        return Fails("create") ? platform::CFile() : platform::CRealOs::CreateNewFile(p);
    }
    platform::CFile OpenForUpdate(const std::u16string& p) const override
    {
        return Fails("open for update") ? platform::CFile() : platform::CRealOs::OpenForUpdate(p);
    }
    bool CreateFolder(const std::u16string& p) const override
    {
        return !Fails("create folder") && platform::CRealOs::CreateFolder(p);
    }
    bool MoveReplace(const std::u16string& from, const std::u16string& to) const override
    {
        return !Fails("replace") && platform::CRealOs::MoveReplace(from, to);
    }
    size_t Write(std::FILE* f, const void* bytes, size_t count) const override
    {
        if (!Fails(shortWrite ? "short write" : "no space"))
            return platform::CRealOs::Write(f, bytes, count);
        return shortWrite ? platform::CRealOs::Write(f, bytes, count / 2) : 0;
    }
    // Only as far as the OS: waiting for the disk would make a walk over every call slow.
    bool FlushToDisk(std::FILE* f) const override { return !Fails("flush") && std::fflush(f) == 0; }
    bool SetFileLength(std::FILE* f, int64_t n) const override
    {
        return !Fails("set length") && platform::CRealOs::SetFileLength(f, n);
    }
    bool CloseFile(platform::CFile& f) const override
    {
        const bool fails = Fails("close");
        return platform::CRealOs::CloseFile(f) && !fails; // closed either way, as fclose does
    }

private:
    bool Fails(const char* operation) const
    {
        if (calls++ != failAt)
            return false;
        failed = operation;
        return true;
    }
};
