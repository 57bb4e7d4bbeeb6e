#pragma once
// INI files in the classic format, byte for byte: "[Section]" and "key=value" lines, sections and keys found
// without regard to case, the first of duplicates wins, unknown sections and keys and comments are kept as they
// are, and the file is written with CR LF line ends. Text is kept as the file's bytes (Windows-1250); callers
// convert. Changes stay in memory until UpdateFile writes them atomically.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "os/files.h"

class TIniFile final {
public:
    // Reads the file now; a missing or unreadable file gives an empty one.
    explicit TIniFile(std::filesystem::path path);
    [[nodiscard]] const std::filesystem::path& FileName() const { return m_path; }

    [[nodiscard]] std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    // The value as a whole decimal number (or $hex / 0xhex); anything else gives `def`.
    [[nodiscard]] int ReadInteger(std::string_view section, std::string_view key, int def) const;
    [[nodiscard]] bool ReadBool(std::string_view section, std::string_view key, bool def) const;
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);
    [[nodiscard]] bool SectionExists(std::string_view section) const;
    [[nodiscard]] bool ValueExists(std::string_view section, std::string_view key) const;
    [[nodiscard]] std::vector<std::string> ReadSection(std::string_view section) const;  // the keys, in order
    void DeleteKey(std::string_view section, std::string_view key);
    void EraseSection(std::string_view section);

    [[nodiscard]] bool Modified() const { return m_modified; }
    // Writes the file when something changed; on failure the old file stays and the result says why.
    [[nodiscard]] os::FileResult UpdateFile();
    // The file's text as it would be written.
    [[nodiscard]] std::string Text() const;
    // Parses an integer as ReadInteger does.
    [[nodiscard]] static bool ParseInteger(std::string_view text, int& value);

private:
    struct Line {
        std::string raw;
        std::string section;  // for a section header: its name
        std::string key;      // for a key line: its key
        bool isSection = false;
        bool isKey = false;
    };
    static Line ParseLine(std::string raw);
    [[nodiscard]] int FindSection(std::string_view section) const;  // header line index or -1
    [[nodiscard]] int SectionEnd(int header) const;                  // index after the section's last line
    [[nodiscard]] int FindKey(std::string_view section, std::string_view key) const;

    std::filesystem::path m_path;
    std::vector<Line> m_lines;
    bool m_modified = false;
};
