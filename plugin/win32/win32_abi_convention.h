// The calling convention of the host compiler's member functions: thiscall on 32-bit x86
// (this in ECX, the rest on the stack, callee pops), the one convention of x64 elsewhere.
#pragma once

#if defined(__i386__)
#define LVP_THISCALL __attribute__((thiscall))
#else
#define LVP_THISCALL
#endif
