#include "settings/impetcmd.h"

#include <sys/stat.h>

#include <algorithm>
#include <optional>
#include <sstream>
#include <string_view>

#include "settings/errorlog.h"

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view skipBlanks(std::string_view s)
{
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    return s;
}

bool startsWithNoCase(std::string_view s, std::string_view word)
{
    if (s.size() < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        char c = s[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != word[i]) return false;
    }
    return true;
}

// One argument: quoted up to the next quote, or up to the next blank. Nothing for an unclosed quote.
std::optional<std::string> takeArgument(std::string_view& s, bool& hasMore)
{
    s = skipBlanks(s);
    hasMore = false;
    if (!s.empty() && s.front() == '"') {
        const auto close = s.find('"', 1);
        if (close == std::string_view::npos) return std::nullopt;
        std::string arg(s.substr(1, close - 1));
        s.remove_prefix(close + 1);
        hasMore = !skipBlanks(s).empty();
        return arg;
    }
    const auto end = std::find_if(s.begin(), s.end(), isBlank);
    std::string arg(s.begin(), end);
    s.remove_prefix(static_cast<std::size_t>(end - s.begin()));
    hasMore = !s.empty() && !skipBlanks(s).empty();
    return arg;
}

struct Arguments
{
    std::string first;
    std::optional<std::string> second;
};

std::optional<Arguments> twoArguments(std::string_view text)
{
    bool more = false;
    auto first = takeArgument(text, more);
    if (!first) return std::nullopt;
    Arguments args{*first, std::nullopt};
    if (more) {
        bool rest = false;
        args.second = takeArgument(text, rest);
    }
    return args;
}

// Archive folder path and name; a name that ends in '.' loses it.
std::pair<std::string, std::string> splitCommandPath(std::string_view path)
{
    const auto slash = path.rfind('\\');
    std::string folder = slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
    std::string name(slash == std::string_view::npos ? path : path.substr(slash + 1));
    if (!name.empty() && name.back() == '.') name.pop_back();
    return {folder, name};
}

// Command files come from Windows too: a backslash in a disk path separates folders.
std::filesystem::path diskPath(std::string text)
{
    std::replace(text.begin(), text.end(), '\\', '/');
    return std::filesystem::path(text);
}

ImpetTime diskTime(const struct stat& st)
{
    return impetTimeFromUnix(st.st_mtim.tv_sec, static_cast<std::uint32_t>(st.st_mtim.tv_nsec));
}

struct Runner
{
    std::unique_ptr<CImpet>* owner;  // set when OPEN may replace or drop the object
    CImpet* impet;
    std::ostream& out;
    std::ostream& err;
    bool ok = true;

    int note(const char* text, int result, bool success)
    {
        out << text;
        ok = success;
        return result;
    }

    int open(std::string_view pathText)
    {
        const std::filesystem::path path{std::string(pathText)};
        int result = 1;
        if (owner) {
            owner->reset();
            auto fresh = std::make_unique<CImpet>();
            result = fresh->Open(path);
            if (result == 0 || result == 2)
                *owner = std::move(fresh);
            else
                err << fresh->error() << '\n';
            impet = owner->get();
        } else {
            result = impet->Open(path);
            if (result != 0 && result != 2) {
                err << impet->error() << '\n';
                *impet = CImpet();
                impet = nullptr;
            }
        }
        return note(impet ? " (opened)\n" : " (error)\n", 5, impet != nullptr);
    }

    int save()
    {
        if (impet->Save() != 0) {
            err << impet->error() << '\n';
            return note(" (error)\n", 9, false);
        }
        int folders = 0, files = 0;
        const auto bytes = impet->CountTree({}, {}, folders, files, false);
        out << " (stored " << bytes << " bytes - " << folders + files << " items)\n";
        return 9;
    }

    int import(std::string_view args)
    {
        const auto a = twoArguments(args);
        if (!a) return note("", 1, false);
        const std::filesystem::path source = diskPath(a->first);
        const std::string target = a->second.value_or(std::string());
        struct stat st
        {
        };
        if (a->first.empty() || ::stat(source.c_str(), &st) != 0) return note("", 1, false);
        impet->itemCounter = 0;
        int result = 1;
        if (S_ISDIR(st.st_mode)) {
            result = impet->ImportFolder(target, source, diskTime(st));
        } else {
            if (static_cast<std::uint64_t>(st.st_size) >> 32) return note("", 1, false);
            // A single file goes into the archive folder named by the target, under its own name.
            const std::filesystem::path parent = source.has_parent_path() ? source.parent_path() : ".";
            result = impet->AddFile(target, parent, source.filename().string(), diskTime(st), 0,
                                    static_cast<std::uint32_t>(st.st_size));
        }
        if (result != 0) {
            err << impet->error() << '\n';
            return note(" (error)\n", 1, false);
        }
        out << " (" << impet->itemCounter << " files added)\n";
        return 1;
    }

    int exportFile(std::string_view args)
    {
        const auto a = twoArguments(args);
        if (!a) return note("", 0, false);
        const auto [folder, name] = splitCommandPath(a->first);
        if (!impet->FindFile(folder, name)) return note("", 0, false);
        impet->itemCounter = 0;
        const std::filesystem::path target = diskPath(a->second.value_or(std::string(".")));
        if (impet->ExportFile(folder, target, name) != 0) {
            err << impet->error() << '\n';
            return note(" (error)\n", 2, false);
        }
        out << " (" << impet->itemCounter << " files extracted)\n";
        return 2;
    }

    int set(std::string_view args)
    {
        const auto a = twoArguments(args);
        if (!a) return note(" (error)\n", 0, false);
        const auto [folder, name] = splitCommandPath(a->first);
        if (impet->SetText(folder, name, a->second.value_or(std::string())) != 0) return note(" (error)\n", 0, false);
        return note(" (file rewritten)\n", 1, true);
    }

    int mkdir(std::string_view args)
    {
        const auto a = twoArguments(args);
        if (!a) return note(" (error)\n", 1, false);
        const auto [folder, name] = splitCommandPath(a->first);
        const bool made = impet->MakeFolder(folder, name, impet->clock()) == 0;
        return note(made ? " (directory created)\n" : " (error)\n", 1, made);
    }

    int remove(std::string_view args)
    {
        const auto [folder, name] = splitCommandPath(args);
        impet->itemCounter = 0;
        if (impet->Delete(folder, name) != 0) return note(" (error)\n", 1, false);
        out << " (" << impet->itemCounter << " files deleted)\n";
        return 1;
    }

    int rename(std::string_view args)
    {
        const auto a = twoArguments(args);
        if (!a || !a->second) return note(" (error)\n", 1, false);
        const bool done = impet->Rename(a->first, *a->second) == 0;
        return note(done ? " (1 file renamed)\n" : " (error)\n", 1, done);
    }

    int run(std::string line)
    {
        out << line << '\n';
        std::string_view text = skipBlanks(line);
        while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
        auto after = [&](std::string_view word) { return skipBlanks(text.substr(word.size())); };
        if (startsWithNoCase(text, "OPEN")) return open(after("OPEN"));
        if (startsWithNoCase(text, "CLEAR")) {
            if (impet) impet->Clear();
            return note(" (cleared)\n", 5, true);
        }
        if (!impet) return note("", 0, false);
        if (startsWithNoCase(text, "SAVE")) return save();
        if (startsWithNoCase(text, "IMPORT")) return import(after("IMPORT"));
        if (startsWithNoCase(text, "EXPORT")) return exportFile(after("EXPORT"));
        if (startsWithNoCase(text, "SET")) return set(after("SET"));
        if (startsWithNoCase(text, "MKDIR")) return mkdir(after("MKDIR"));
        if (startsWithNoCase(text, "DELETE")) return remove(after("DELETE"));
        if (startsWithNoCase(text, "RENAME")) return rename(after("RENAME"));
        return note("", 0, false);
    }
};

}  // namespace

int ImpetCommand(std::unique_ptr<CImpet>& impet, std::string line, std::ostream& out, std::ostream& err, bool* ok)
{
    Runner runner{&impet, impet.get(), out, err};
    const int result = runner.run(std::move(line));
    if (ok) *ok = runner.ok;
    return result;
}

int ImpetCommand(CImpet& impet, std::string line, std::ostream& out, std::ostream& err, bool* ok)
{
    Runner runner{nullptr, &impet, out, err};
    const int result = runner.run(std::move(line));
    if (ok) *ok = runner.ok;
    return result;
}

std::vector<std::filesystem::path> DefaultArchiveImportRoots(const std::filesystem::path& programPath)
{
    std::vector<std::filesystem::path> roots{std::filesystem::path("..") / "IMPET"};
    std::error_code ec;
    std::filesystem::path program = std::filesystem::canonical(programPath, ec);
    if (ec) program = programPath;
    if (program.has_parent_path()) roots.push_back(program.parent_path().parent_path() / "share" / "kelvora" / "IMPET");
    return roots;
}

bool AttachProgramArchive(CImpet& impet, const std::filesystem::path& programPath,
                          std::span<const std::filesystem::path> importRoots, const std::filesystem::path& logFolder,
                          std::ostream& out)
{
    const int opened = OpenImpet(impet, programPath);
    if (opened == 3) LogError(logFolder, impet.error());
    auto hasEntries = [&] { return impet.root().isFolder() && !impet.root().children.empty(); };
    if (!impet.root().isFolder()) impet = CImpet();
    for (const std::filesystem::path& root : importRoots) {
        if (hasEntries()) break;
        for (const char* folder : {"NEW_309", "MAP_309"}) {
            const std::string line = "IMPORT \"" + (root / folder).string() + "\" \"\"";
            std::ostringstream ignored;
            ImpetCommand(impet, line, out, ignored);
        }
    }
    return hasEntries();
}

bool AttachProgramArchive(CImpet& impet, const std::filesystem::path& logFolder, std::ostream& out)
{
    const std::filesystem::path self = "/proc/self/exe";
    const auto roots = DefaultArchiveImportRoots(self);
    return AttachProgramArchive(impet, self, roots, logFolder, out);
}
