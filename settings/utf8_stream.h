// utf8_ofstream / utf8_ifstream: UTF-16 text to and from files, written as UTF-8 with a mark.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>

#include "platform/file.h"

class utf8_ofstream {
public:
    // Creates or truncates path, shared; on success writes the mark EF BB BF at once.
    explicit utf8_ofstream(const std::u16string& path);
    // Takes over a file opened for writing (none: stays closed) and writes the mark.
    explicit utf8_ofstream(platform::CFile file);
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

    // Selects the number format; off after opening, set and cleared by the user.
    bool m_bHex = false;

private:
    void Put(const uint8_t* bytes, size_t count);
    platform::CFile m_file;
};

class utf8_ifstream {
public:
    // Opens path for reading, shared.
    explicit utf8_ifstream(const std::u16string& path);
    // Takes over a file opened for reading (none: stays closed).
    explicit utf8_ifstream(platform::CFile file) : m_file(std::move(file)) {}
    virtual ~utf8_ifstream();
    utf8_ifstream(const utf8_ifstream&) = delete;
    utf8_ifstream& operator=(const utf8_ifstream&) = delete;

    bool is_open() const { return static_cast<bool>(m_file); }
    // Replaces target with the whole file, decoded by its byte-order mark (none: ISO-8859-1).
    // While closed, target is left unchanged; on a failure it becomes empty.
    utf8_ifstream& operator>>(std::u16string& target);
    void close() { m_file.Close(); }

private:
    platform::CFile m_file;
};

// Decodes a whole file's bytes as utf8_ifstream does; the result ends at its first U+0000.
std::u16string DecodeFileBytes(const uint8_t* bytes, size_t length);
