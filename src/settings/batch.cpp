#include "settings/batch.h"

#include <cstdio>
#include <memory>

#include "os/files.h"
#include "settings/newbike.h"
#include "settings/repair.h"

namespace {

constexpr std::size_t kLinePiece = 299;  // characters of a line read at once; a longer line comes in pieces
constexpr std::size_t kMaxLines = 3000;

// The lines of a text file as the tool has always read them: CR LF read as LF, each line with its line end.
std::optional<std::vector<std::string>> readLines(const std::filesystem::path& path)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) return std::nullopt;
    std::vector<std::string> lines;
    std::string line;
    int c = 0;
    while (lines.size() < kMaxLines && (c = std::getc(file.get())) != EOF) {
        if (c == '\r') {
            const int next = std::getc(file.get());
            if (next == '\n')
                c = '\n';
            else if (next != EOF)
                std::ungetc(next, file.get());
        }
        line += static_cast<char>(c);
        if (c == '\n' || line.size() == kLinePiece) {
            lines.push_back(std::move(line));
            line.clear();
        }
    }
    if (!line.empty() && lines.size() < kMaxLines) lines.push_back(std::move(line));
    return lines;
}

std::string withCrLf(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

}  // namespace

SaveAllNewResult SaveAllNew(CImpet& impet, const std::filesystem::path& folder, const SettingsFileTexts& texts)
{
    SaveAllNewResult result;
    // A folder that cannot be made would fail every model alike: said once, and nothing is tried.
    std::error_code ec;
    std::filesystem::create_directory(folder, ec);
    if (!ec) {
        std::error_code statEc;
        if (!std::filesystem::is_directory(folder, statEc))
            ec = statEc ? statEc : std::make_error_code(std::errc::not_a_directory);
    }
    if (ec) {
        result.folderError = "Cannot make the folder " + folder.string() + ": " + ec.message();
        return result;
    }
    for (int model = 0; model < RS_MODEL_COUNT; ++model) {
        Image image{};
        image[RS_BIKE_BYTE] = static_cast<std::uint8_t>(model);
        const NewBikeResult made = NewBikeSettings(image, impet);
        if (!made.done) {
            result.modelErrors.push_back(made.error);
            continue;
        }
        // The English name, whatever the interface language: the same name the archive file has.
        const std::filesystem::path file = folder / (ModelFileName(BikeModelEnglishName(model)) + ".ign");
        NormalizeSettingsImage(image);
        const auto saved = SaveSettingsFile(file, image, texts);
        if (!saved.ok) {
            result.writeErrors.push_back(saved.error);
            continue;
        }
        ++result.written;
    }
    return result;
}

os::FileResult CompareAllNew(const std::filesystem::path& newFolder, const std::filesystem::path& oldFolder)
{
    std::string out;
    for (int model = 0; model < RS_MODEL_COUNT; ++model) {
        std::string_view displayName;
        for (const BikeModel& m : BikeModels())
            if (m.tag == model)
                displayName = m.displayName.starts_with("###") ? BikeModelEnglishName(model) : m.displayName;
        if (displayName.empty()) continue;
        out += "------------------------------------------------------   ";
        out += displayName;
        out += '\n';
        const std::string fileName = ModelFileName(displayName) + ".ign";
        const auto oldLines = readLines(oldFolder / fileName);
        if (!oldLines) {
            out += "!!!!!!!!!soubor \"old\" se nepodarilo otevrit \n";
            continue;
        }
        const auto newLines = readLines(newFolder / fileName);
        if (!newLines) {
            out += "!!!!!!!!!soubor \"akt\" se nepodarilo otevrit !!!!!!!!!!!!!!\n";
            continue;
        }
        const std::size_t common = std::min(oldLines->size(), newLines->size());
        for (std::size_t i = 0; i < common; ++i) {
            std::string oldLine = (*oldLines)[i];
            const std::string& newLine = (*newLines)[i];
            if (oldLine == newLine || oldLine.starts_with("EXE")) continue;
            const std::size_t shorter = std::min(oldLine.size(), newLine.size());
            for (std::size_t c = 0; c < shorter; ++c)
                if (oldLine[c] == newLine[c]) oldLine[c] = ' ';
            out += "....line:" + std::to_string(i + 1) + "\n";
            out += oldLine + "\n";
            out += newLine + "\n";
        }
    }
    return os::atomicWriteFile(newFolder / kCompareResultName, withCrLf(out));
}

std::string CompareAllNewMessage(const std::filesystem::path& newFolder)
{
    return "Results in file \"" + (newFolder / kCompareResultName).string() + "\"";
}
