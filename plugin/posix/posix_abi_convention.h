// The calling convention of member-like functions at the boundary: the platform's ordinary one.
#pragma once

#define LVP_THISCALL
