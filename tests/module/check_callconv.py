#!/usr/bin/env python3
"""The x86 boundary's calling conventions, read from the machine code: every function of the
module's plug-in table and string manager pops the same number of argument bytes on return
(thiscall: the callee pops) as the same slot compiled by clang for the Microsoft C++ ABI in the
reference module. Where 32-bit Wine cannot run, this is the x86 build's proof of its slots.

check_callconv.py LLVM_OBJDUMP MODULE_DLL REFERENCE_OBJ
"""
import re
import subprocess
import sys

# slot, the module's function (Itanium names of g++), the same slot in the reference (MS names)
SLOTS = [
    ("plug-in slot 0, scalar deleting destructor", r"_GLOBAL__N_1\d+DestroyEPNS_13SPluginObject", r"\?\?_GCEcho@"),
    ("plug-in slot 1, GetName", r"_GLOBAL__N_1\d+GetTextI.*GetNameEv", r"\?GetName@CEcho@"),
    ("plug-in slot 2, GetDescription", r"_GLOBAL__N_1\d+GetTextI.*GetDescriptionEv", r"\?GetDescription@CEcho@"),
    ("plug-in slot 3, Start", r"_GLOBAL__N_1\d+StartEPNS_13SPluginObject", r"\?Start@CEcho@"),
    ("plug-in slot 4, Query", r"_GLOBAL__N_1\d+QueryEPNS_13SPluginObject", r"\?Query@CFunctionPlugin@@"),
    ("plug-in slot 5, Execute", r"_GLOBAL__N_1\d+ExecuteEPNS_13SPluginObject", r"\?Execute@CEcho@"),
    ("string manager slot 0, Allocate", r"SDefaultStringMgr\d+Allocate", r"\?Allocate@CStringMgr@"),
    ("string manager slot 1, Free", r"SDefaultStringMgr\d+Free", r"\?Free@CStringMgr@"),
    ("string manager slot 2, Reallocate", r"SDefaultStringMgr\d+Reallocate", r"\?Reallocate@CStringMgr@"),
    ("string manager slot 3, GetNilString", r"SDefaultStringMgr\d+GetNilString", r"\?GetNilString@CStringMgr@"),
    ("string manager slot 4, Clone", r"SDefaultStringMgr\d+Clone", r"\?Clone@CStringMgr@"),
    ("export GetPluginVersion (cdecl, result pointer first)", r"^_GetPluginVersion$", r"^_GetPluginVersion$"),
    ("export GetPluginProc (cdecl)", r"^_GetPluginProc$", r"^_GetPluginProc$"),
]
LABEL = re.compile(r"^[0-9a-f]+ <(.+)>:$")
RET = re.compile(r"\tret[lwq]?\s*(?:\$(0x[0-9a-f]+|\d+))?\s*$")


def functions(objdump, path):
    """Function name -> the set of byte counts its ret instructions pop."""
    text = subprocess.run([objdump, "-d", "--no-show-raw-insn", path], check=True, capture_output=True,
                          text=True).stdout
    found, name = {}, None
    for line in text.splitlines():
        m = LABEL.match(line)
        if m:
            name = m.group(1)
            found.setdefault(name, set())
            continue
        r = RET.search(line)
        if r and name is not None:
            found[name].add(int(r.group(1) or "0", 0))
    return found


def pops(found, pattern):
    names = [n for n in found if re.search(pattern, n) and not n.endswith(".cold")]
    return names, set().union(*(found[n] for n in names)) if names else set()


def main():
    objdump, module, reference = sys.argv[1:4]
    ours, theirs = functions(objdump, module), functions(objdump, reference)
    failures = 0
    for what, mine, ref in SLOTS:
        my_names, my_pops = pops(ours, mine)
        ref_names, ref_pops = pops(theirs, ref)
        ok = len(my_names) == 1 and len(ref_names) == 1 and len(my_pops) == 1 and my_pops == ref_pops
        print(f"{'ok' if ok else 'FAIL'}: {what}: module pops {sorted(my_pops)} ({len(my_names)} found), "
              f"Microsoft ABI pops {sorted(ref_pops)} ({len(ref_names)} found)")
        failures += not ok
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
