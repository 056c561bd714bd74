// A host built by a compiler of the Microsoft C++ ABI, without a C runtime: it loads a plug-in
// module and uses it as the real host would, through the class library's string and vector and
// the plug-in class's virtual functions.
//   abi_host check MODULE VERSION NAME   every export and slot, two objects, the string's paths
//   abi_host run MODULE FILE...          one whole command; prints each result as file, tab, flag
// Exit status: 0 all well (run: results returned), 1 a check failed (run: no results), 2 usage.
#include "class_library.h"
#include "freestanding.h"

namespace {
int g_failures = 0;

void Check(bool ok, const char* what)
{
    ms::Out(ok ? "ok: " : "FAIL: ");
    ms::Out(what);
    ms::Out("\n");
    if (!ok)
        ++g_failures;
}

struct SExports {
    HMODULE module;
    GetPluginVersionProc version;
    GetPluginTypeProc type;
    GetPluginCntProc count;
    GetPluginProcProc proc;
};

bool Load(const wchar_t* path, SExports& e)
{
    e.module = LoadLibraryW(path);
    if (e.module == nullptr)
        return false;
    e.version = reinterpret_cast<GetPluginVersionProc>(GetProcAddress(e.module, "GetPluginVersion"));
    e.type = reinterpret_cast<GetPluginTypeProc>(GetProcAddress(e.module, "GetPluginType"));
    e.count = reinterpret_cast<GetPluginCntProc>(GetProcAddress(e.module, "GetPluginCnt"));
    e.proc = reinterpret_cast<GetPluginProcProc>(GetProcAddress(e.module, "GetPluginProc"));
    return e.version && e.type && e.count && e.proc;
}

bool IsText(const CStringW& s, const wchar_t* text)
{
    return s.GetLength() == ms::Length(text) && ms::Equal(s.GetString(), text) && s.GetData()->nRefs >= 1;
}

// Copy, change, grow, empty and release a string the module made.
void StringPaths(CFunctionPlugin& object, const wchar_t* name)
{
    CStringW made = object.GetName();
    IAtlStringMgr* moduleMgr = made.GetData()->pStringMgr;
    Check(IsText(made, name) && made.GetData()->nRefs == 1, "a returned string has one reference");
    Check(made.GetData()->nAllocLength >= made.GetLength(), "its allocated length covers its text");
    {
        CStringW copy = made; // Clone gave the same manager: shared
        Check(copy.GetString() == made.GetString() && made.GetData()->nRefs == 2, "a copy shares the data");
        Check(copy.Append(L"!", 1), "a shared copy is written: Clone, Allocate");
        Check(copy.GetString() != made.GetString() && made.GetData()->nRefs == 1, "the copy forked");
        Check(copy.GetData()->pStringMgr == moduleMgr && copy.GetData()->nRefs == 1, "the fork has the module's manager");
        Check(IsText(made, name), "the original is unchanged");
        wchar_t tail[300];
        for (int i = 0; i < 300; ++i)
            tail[i] = static_cast<wchar_t>(L'a' + i % 26);
        Check(copy.Append(tail, 300), "an unshared string grows: Reallocate");
        Check(copy.GetLength() == made.GetLength() + 301 && copy.GetString()[made.GetLength()] == L'!' &&
                  copy.GetString()[copy.GetLength() - 1] == tail[299] && copy.GetData()->nAllocLength >= copy.GetLength(),
              "the grown string keeps its text");
        copy.Empty();
        Check(copy.GetLength() == 0 && copy.GetString()[0] == 0, "emptied: GetNilString");
        CStringW other = object.GetDescription();
        other.Empty();
        Check(other.GetData() == copy.GetData() && copy.GetData()->nRefs > 0, "one shared empty string");
        CStringW third = copy;
        Check(third.GetData() == copy.GetData(), "copies of the empty string share it");
    } // released: the last releases call Free, the empty string's never does
    CStringW again = object.GetName();
    Check(IsText(again, name), "strings are made and freed again after all that");
}

int RunChecks(const wchar_t* path, const wchar_t* version, const wchar_t* name)
{
    SExports e{};
    Check(Load(path, e), "the module loads and has its four exports");
    if (e.module == nullptr || e.proc == nullptr)
        return 1;
    {
        CStringW v = e.version();
        Check(IsText(v, version) && v.GetData()->nRefs == 1, "GetPluginVersion");
    }
    Check(e.type() == 2, "GetPluginType is 2");
    Check(e.count() == 1, "GetPluginCnt is 1");
    PluginFactory factory = e.proc(0);
    Check(factory != nullptr && e.proc(1) == factory && e.proc(-1) == factory && e.proc(0x7FFFFFFF) == factory,
          "GetPluginProc: one factory for every index");
    CFunctionPlugin* a = factory();
    CFunctionPlugin* b = factory();
    Check(a != nullptr && b != nullptr && a != b, "two objects");
    if (a == nullptr || b == nullptr)
        return 1;
    {
        CStringW n = a->GetName();
        CStringW d = a->GetDescription();
        Check(IsText(n, name), "GetName");
        Check(d.GetLength() > 0 && d.GetString()[d.GetLength()] == 0, "GetDescription");
    }
    Check(a->Query(0) && a->Query(1) && a->Query(0xFFFFFFFFu), "Query answers true");
    CVector<SResultFile>* listA = a->Execute();
    CVector<SResultFile>* listB = b->Execute();
    Check(listA != nullptr && listB != nullptr && listA != listB, "each object has its own results list");
    Check(listA != nullptr && listA->size() == 0 && listA == &a->m_results, "a fresh object's list is empty, in place");
    // Two files that open (the module refuses missing ones with a message box): itself twice.
    const wchar_t* files[] = {path, path};
    CVector<const wchar_t*> selection{files, files + 2, files + 2};
    SStartResult start = a->Start(nullptr, selection);
    Check(start.proceed == 1 && start.extra1 == 0 && start.extra2 == 0, "Start accepts two files: {1, 0, 0}");
    StringPaths(*a, name);
    delete a; // slot 0, flag 1: the module frees its memory
    {
        CStringW n = b->GetName();
        Check(IsText(n, name), "the other object lives on");
    } // released while the module is loaded: its manager frees it
    delete b;
    Check(FreeLibrary(e.module) != 0, "the module unloads");
    return g_failures == 0 ? 0 : 1;
}

int RunCommand(const wchar_t* path, wchar_t** files, int count)
{
    SExports e{};
    if (!Load(path, e)) {
        ms::Out("abi_host: cannot load the module\n");
        return 2;
    }
    int status = 1;
    CFunctionPlugin* object = e.proc(0)();
    if (object != nullptr) {
        auto** full = static_cast<const wchar_t**>(ms::Alloc(sizeof(wchar_t*) * static_cast<SIZE_T>(count)));
        for (int i = 0; i < count; ++i) {
            auto* buffer = static_cast<wchar_t*>(ms::Alloc(sizeof(wchar_t) * 1024));
            if (GetFullPathNameW(files[i], 1024, buffer, nullptr) - 1u >= 1023u)
                buffer[0] = 0;
            full[i] = buffer;
        }
        CVector<const wchar_t*> selection{full, full + count, full + count};
        if (object->Start(nullptr, selection).proceed == 1) {
            CVector<SResultFile>* list = object->Execute();
            for (SResultFile* r = list->_Myfirst; r != list->_Mylast; ++r) {
                ms::Out(r->file.GetString());
                ms::Out("\t");
                ms::Out(r->flag);
                ms::Out("\n");
            }
            status = list->size() > 0 ? 0 : 1;
        }
        delete object;
        for (int i = 0; i < count; ++i)
            ms::Free(const_cast<wchar_t*>(full[i]));
        ms::Free(full);
    }
    FreeLibrary(e.module);
    return status;
}
} // namespace

extern "C" void HostMain()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    int status = 2;
    if (argc == 5 && ms::Equal(argv[1], L"check"))
        status = RunChecks(argv[2], argv[3], argv[4]);
    else if (argc >= 4 && ms::Equal(argv[1], L"run"))
        status = RunCommand(argv[2], argv + 3, argc - 3);
    else
        ms::Out("usage: abi_host check MODULE VERSION NAME | abi_host run MODULE FILE...\n");
    ExitProcess(static_cast<unsigned int>(status));
}
