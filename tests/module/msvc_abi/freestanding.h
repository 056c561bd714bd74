// What the Microsoft-ABI test programs have instead of a C runtime: memory, heap and output.
#pragma once
#include "win32_api.h"

extern "C" void* memcpy(void* to, const void* from, SIZE_T n);
extern "C" void* memset(void* to, int value, SIZE_T n);

namespace ms {
void* Alloc(SIZE_T n);
void* Grow(void* p, SIZE_T n);
void Free(void* p);
int Length(const wchar_t* text);
bool Equal(const wchar_t* a, const wchar_t* b);
// Standard output, UTF-8.
void Out(const char* text);
void Out(const wchar_t* text);
void Out(int value);
} // namespace ms
