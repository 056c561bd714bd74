// The C runtime's few pieces that the Microsoft-ABI test programs need, on Win32 alone.
#include "freestanding.h"

extern "C" {
// The compiler emits calls to these for copies and zeroing; without a runtime we define them.
void* memcpy(void* to, const void* from, SIZE_T n)
{
    auto* d = static_cast<volatile unsigned char*>(to);
    auto* s = static_cast<const unsigned char*>(from);
    for (SIZE_T i = 0; i < n; ++i)
        d[i] = s[i];
    return to;
}
void* memset(void* to, int value, SIZE_T n)
{
    auto* d = static_cast<volatile unsigned char*>(to);
    for (SIZE_T i = 0; i < n; ++i)
        d[i] = static_cast<unsigned char>(value);
    return to;
}
// A pure virtual function called: cannot happen in a correct program.
int _purecall()
{
    ExitProcess(99);
    return 0;
}
}

namespace ms {
void* Alloc(SIZE_T n)
{
    return HeapAlloc(GetProcessHeap(), 0, n);
}
void* Grow(void* p, SIZE_T n)
{
    return p == nullptr ? Alloc(n) : HeapReAlloc(GetProcessHeap(), 0, p, n);
}
void Free(void* p)
{
    if (p != nullptr)
        HeapFree(GetProcessHeap(), 0, p);
}
int Length(const wchar_t* text)
{
    int n = 0;
    while (text[n] != 0)
        ++n;
    return n;
}
bool Equal(const wchar_t* a, const wchar_t* b)
{
    while (*a != 0 && *a == *b)
        ++a, ++b;
    return *a == *b;
}
void Out(const char* text)
{
    DWORD n = 0, written = 0;
    while (text[n] != 0)
        ++n;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, n, &written, nullptr);
}
void Out(const wchar_t* text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return;
    char* bytes = static_cast<char*>(Alloc(static_cast<SIZE_T>(n)));
    WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, n, nullptr, nullptr);
    Out(bytes);
    Free(bytes);
}
void Out(int value)
{
    char digits[16];
    int i = 15;
    digits[i] = 0;
    unsigned int v = value < 0 ? 0u - static_cast<unsigned int>(value) : static_cast<unsigned int>(value);
    do {
        digits[--i] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    if (value < 0)
        digits[--i] = '-';
    Out(digits + i);
}
} // namespace ms
