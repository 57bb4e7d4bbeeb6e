#pragma once
// Temporary folders and small archives for the archive tests.
#include <stdlib.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "settings/impet.h"

class TempDir
{
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kelvora_test_XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }
    [[nodiscard]] std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

inline void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void writeText(const std::filesystem::path& path, const std::string& text)
{
    writeBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

inline std::vector<std::uint8_t> readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<std::uint8_t> bytesOf(const std::string& text)
{
    return {text.begin(), text.end()};
}

// Deterministic bytes that deflate cannot shrink.
inline std::vector<std::uint8_t> noiseBytes(std::size_t n, std::uint32_t seed = 12345)
{
    std::vector<std::uint8_t> out(n);
    for (auto& b : out) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<std::uint8_t>(seed >> 24);
    }
    return out;
}

inline constexpr ImpetTime kFixedTime = 133000000000000000ULL;  // a FILETIME in 2022

inline CImpet fixedClockImpet()
{
    CImpet impet;
    impet.clock = [] { return kFixedTime; };
    return impet;
}
