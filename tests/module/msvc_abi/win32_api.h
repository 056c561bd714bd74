// The few Win32 functions the Microsoft-ABI test programs use, declared here: they are built
// without a C runtime or SDK headers, against MinGW's import libraries.
#pragma once

typedef unsigned long DWORD;
typedef __SIZE_TYPE__ SIZE_T;
struct HWND__;
typedef HWND__* HWND;
typedef void* HANDLE;
typedef void* HMODULE;

#define WINAPI __stdcall
#define IMPORT extern "C" __declspec(dllimport)

IMPORT HMODULE WINAPI LoadLibraryW(const wchar_t* name);
IMPORT void* WINAPI GetProcAddress(HMODULE module, const char* name);
IMPORT int WINAPI FreeLibrary(HMODULE module);
IMPORT HANDLE WINAPI GetStdHandle(DWORD which);
IMPORT int WINAPI WriteFile(HANDLE file, const void* data, DWORD size, DWORD* written, void* overlapped);
IMPORT const wchar_t* WINAPI GetCommandLineW();
IMPORT wchar_t** WINAPI CommandLineToArgvW(const wchar_t* line, int* count);
IMPORT void WINAPI ExitProcess(unsigned int code);
IMPORT HANDLE WINAPI GetProcessHeap();
IMPORT void* WINAPI HeapAlloc(HANDLE heap, DWORD flags, SIZE_T size);
IMPORT void* WINAPI HeapReAlloc(HANDLE heap, DWORD flags, void* block, SIZE_T size);
IMPORT int WINAPI HeapFree(HANDLE heap, DWORD flags, void* block);
IMPORT int WINAPI WideCharToMultiByte(unsigned int page, DWORD flags, const wchar_t* text, int length, char* out,
                                      int size, const char* defaultChar, int* usedDefault);
IMPORT DWORD WINAPI GetFullPathNameW(const wchar_t* name, DWORD size, wchar_t* out, wchar_t** filePart);

#define STD_OUTPUT_HANDLE ((DWORD)-11)
#define CP_UTF8 65001u
