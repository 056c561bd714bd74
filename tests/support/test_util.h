// Helpers shared by the tests: scratch files, redirected OS folders, map dumps.
// A test's OS double, C<what it does>Os, derives from platform::CRealOs and overrides only
// what it fakes.
#pragma once
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/real_os.h"
#include "settings/settings_store.h"
#include "tests/support/file_util.h"

// A new file in a scratch folder of the process, holding bytes, open for reading and writing
// at its start (a stand-in for files of the fake OS).
platform::CFile ScratchFile(const std::string& bytes);

// Real services whose executable, documents and application-data folders lie in one folder,
// so a store built on it never touches the user's own folders.
class CRedirectedOs : public platform::CRealOs {
public:
    explicit CRedirectedOs(const TempDir& dir) : m_dir(dir.u16()) {}
    explicit CRedirectedOs(std::u16string dir) : m_dir(std::move(dir)) {}
    std::u16string ExecutablePath() const override { return m_dir + PathSeparator() + u"host.exe"; }
    std::u16string DocumentsFolder() const override { return m_dir; }
    std::u16string AppDataFolder() const override { return m_dir; }

private:
    std::u16string m_dir;
};

// Every entry of the four maps in their iteration order, one "type:key=value" line each
// (binary values in hex, "-" for an empty one). writtenOnly: only what Save writes.
std::string Dump(const lvp::CSettingsStore& store, bool writtenOnly = false);
std::string Utf8(const std::u16string& text);
