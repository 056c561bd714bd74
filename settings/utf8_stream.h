// utf8_ofstream / utf8_ifstream: UTF-16 text to and from files, written as UTF-8 with a mark.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>

#include "platform/file.h"
#include "platform/os.h"

namespace lvp {
class utf8_ofstream {
public:
    // Creates or truncates path, shared; on success writes the mark EF BB BF at once.
    explicit utf8_ofstream(const std::u16string& path);
    // Takes over a file opened for writing (none: stays closed) and writes the mark; every byte
    // goes to the disk through os, which must outlive the stream.
    explicit utf8_ofstream(platform::CFile file, const platform::COs& os = platform::RealOs());
    virtual ~utf8_ofstream();
    utf8_ofstream(const utf8_ofstream&) = delete;
    utf8_ofstream& operator=(const utf8_ofstream&) = delete;

    bool is_open() const { return static_cast<bool>(m_file); }
    // Writes each unit up to the terminator, one to three bytes per unit.
    utf8_ofstream& operator<<(const char16_t* text);
    utf8_ofstream& operator<<(const std::u16string& text) { return *this << text.c_str(); }
    utf8_ofstream& operator<<(char16_t unit);
    // "%d", or "%02x" while m_bHex is set.
    utf8_ofstream& operator<<(int32_t number);
    // CR LF.
    utf8_ofstream& endl();
    // Pushes the written bytes to the disk; false if any write so far failed.
    bool commit();
    // Closes the file (harmless when closed); false if any write failed.
    bool close();
    // Bytes that reached the file so far, the mark included.
    int64_t written() const { return m_nWritten; }
    // The open file, for operations beyond writing (still owned by the stream).
    std::FILE* file() const { return m_file.Get(); }

    // Selects the number format; off after opening, set and cleared by the user.
    bool m_bHex = false;

private:
    void Put(const uint8_t* bytes, size_t count);
    platform::CFile m_file;
    const platform::COs& m_os;
    bool m_bFailed = false; // a write came back short
    int64_t m_nWritten = 0;
};

class utf8_ifstream {
public:
    // Opens path for reading, shared.
    explicit utf8_ifstream(const std::u16string& path);
    // Takes over a file opened for reading (none: stays closed); reads through os.
    explicit utf8_ifstream(platform::CFile file, const platform::COs& os = platform::RealOs())
        : m_file(std::move(file)), m_os(os)
    {
    }
    virtual ~utf8_ifstream();
    utf8_ifstream(const utf8_ifstream&) = delete;
    utf8_ifstream& operator=(const utf8_ifstream&) = delete;

    bool is_open() const { return static_cast<bool>(m_file); }
    // Replaces target with the whole file, decoded by its byte-order mark (none: ISO-8859-1).
    // While closed, target is left unchanged; on a failure it becomes empty.
    utf8_ifstream& operator>>(std::u16string& target);
    void close() { m_file.Close(); }
    // The last extraction could not buffer the file (out of memory): the text is not the file's.
    bool incomplete() const { return m_bIncomplete; }

private:
    platform::CFile m_file;
    const platform::COs& m_os;
    bool m_bIncomplete = false;
};

// Decodes a whole file's bytes as utf8_ifstream does; the result ends at its first U+0000.
std::u16string DecodeFileBytes(const uint8_t* bytes, size_t length);
} // namespace lvp
