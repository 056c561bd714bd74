// lvphost: "info" and "run", driving a plug-in module in the host's calling order.
#include "host/lvphost.h"

#include <exception>

#include "host/console_output.h"
#include "host/plugin_loader.h"
#include "platform/os.h"
#include "platform/utf.h"

namespace lvp::host {
namespace {
constexpr int kExitResults = 0;
constexpr int kExitNoResults = 1;
constexpr int kExitError = 2;

constexpr char16_t kUsage[] =
    u"usage: lvphost info MODULE\n"
    u"       lvphost run MODULE [--object N] FILE...\n"
    u"\n"
    u"info  loads MODULE, creates its objects and prints its version, type, object count\n"
    u"      and each object's name and description.\n"
    u"run   starts object N (default 0) with the FILEs as the selection, executes it when\n"
    u"      it accepts (the fusion dialog: Windows a window, Linux the terminal), prints each\n"
    u"      result as file, tab, flag, then deletes the object and unloads the module, which\n"
    u"      writes its settings.\n"
    u"Exit status: 0 results returned, 1 refused, cancelled or no results, 2 usage or module\n"
    u"error.\n";

// The path made absolute against the current folder (the file need not exist); as given when
// that cannot be done.
std::u16string MakeAbsolute(const std::u16string& path)
{
    std::u16string full;
    return platform::RealOs().FullPath(path, full) ? full : path;
}

int UsageError(const std::u16string& message)
{
    Write(EStream::Err, u"lvphost: " + message + u"\n" + kUsage);
    return kExitError;
}

bool OpenModule(CPluginModule& module, const std::u16string& path)
{
    if (module.Open(MakeAbsolute(path)))
        return true;
    Write(EStream::Err, u"lvphost: " + module.GetError() + u"\n");
    return false;
}

int Info(CPluginModule& module, const std::u16string& path)
{
    if (!OpenModule(module, path))
        return kExitError;
    std::u16string out = u"version: " + module.GetVersion() + u"\ntype: " +
                         platform::DecimalText(module.GetType()) + u"\ncount: " +
                         platform::DecimalText(module.GetCount()) + u"\n";
    for (size_t i = 0; i < module.GetObjects().size(); ++i) {
        CPluginObject& object = module.GetObjects()[i];
        std::u16string n = platform::DecimalText(static_cast<long long>(i));
        out += u"object " + n + u" name: " + object.GetName().str() + u"\n";
        out += u"object " + n + u" description: " + object.GetDescription().str() + u"\n";
    }
    Write(EStream::Out, out);
    return kExitResults;
}

// A non-negative decimal number, or -1.
long long ParseIndex(const std::u16string& text)
{
    if (text.empty() || text.size() > 9)
        return -1;
    long long n = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9')
            return -1;
        n = n * 10 + (c - u'0');
    }
    return n;
}

int Run(CPluginModule& module, const std::vector<std::u16string>& args)
{
    const std::u16string& path = args[1];
    size_t first = 2;
    long long index = 0;
    if (args.size() > first && args[first] == u"--object") {
        if (args.size() == first + 1 || (index = ParseIndex(args[first + 1])) < 0)
            return UsageError(u"--object needs an object index");
        first += 2;
    }
    if (args.size() == first)
        return UsageError(u"run needs at least one FILE");
    std::vector<std::u16string> files;
    for (size_t i = first; i < args.size(); ++i) {
        // A name passed on relative (the current folder is gone) could read as a tool's option.
        std::u16string full;
        if (!platform::RealOs().FullPath(args[i], full)) {
            Write(EStream::Err, u"lvphost: cannot make " + args[i] +
                                    u" an absolute path (does the current folder still exist?)\n");
            return kExitError;
        }
        files.push_back(std::move(full));
    }
    SelectionList selection;
    for (const auto& f : files)
        selection.push_back(f.c_str());

    if (!OpenModule(module, path))
        return kExitError;
    if (index >= module.GetCount())
        return UsageError(u"module " + path + u" has no object " + platform::DecimalText(index));
    CPluginObject& object = module.GetObjects()[static_cast<size_t>(index)];
    // A console program has no window of its own: the dialogs have no owner.
    SStartResult start = object.Start(nullptr, selection);
    if (start.proceed != 1)
        return kExitNoResults;
    std::span<const SResultFile> results = object.Execute();
    if (results.empty())
        return kExitNoResults;
    std::u16string out;
    for (const SResultFile& r : results)
        out += r.file.str() + u"\t" + platform::DecimalText(r.flag) + u"\n";
    Write(EStream::Out, out);
    return kExitResults;
}
} // namespace

int RunHost(const std::vector<std::u16string>& args)
{
    // Outlives the handlers below: an exception from the module is the module's code (its
    // text, its destructor) and must be done with before the module is unloaded.
    CPluginModule module;
    try {
        if (!args.empty() && (args[0] == u"--help" || args[0] == u"-h" || args[0] == u"help")) {
            Write(EStream::Out, kUsage);
            return kExitResults;
        }
        if (args.size() == 2 && args[0] == u"info")
            return Info(module, args[1]);
        if (args.size() >= 2 && args[0] == u"run")
            return Run(module, args);
        if (args.empty())
            return UsageError(u"no command given");
        if (args[0] == u"info" || args[0] == u"run")
            return UsageError(u"wrong arguments for " + args[0]);
        return UsageError(u"unknown command " + args[0]);
    } catch (const std::exception& e) {
        Write(EStream::Err, u"lvphost: " + platform::Utf8ToUtf16(e.what()) + u"\n");
        return kExitError;
    } catch (...) {
        Write(EStream::Err, u"lvphost: the module raised an unknown exception\n");
        return kExitError;
    }
}
} // namespace lvp::host
