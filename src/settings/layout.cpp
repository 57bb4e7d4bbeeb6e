#include "settings/layout.h"

#include <cstdio>

namespace {

constexpr std::string_view kSeparator = "================================================================";

// The six characters after the length: where the entry meets a link frame boundary.
std::string_view frameMarker(const LayoutRow& row)
{
    const int end = row.offset + row.length;
    if (end % kLayoutFrameBytes == 0) return "======";
    if (row.offset / kLayoutFrameBytes != (end - 1) / kLayoutFrameBytes) return "------";
    return "      ";
}

std::string_view typeText(LayoutType type)
{
    switch (type) {
        case LayoutType::Word:
            return "word";
        case LayoutType::Byte:
            return "byte";
        case LayoutType::Free:
            break;
    }
    return "";
}

}  // namespace

std::string BuildLayoutMapText()
{
    std::string out;
    const auto line = [&out](std::string_view text) {
        out += text;
        out += "\r\n";
    };
    line(kSeparator);
    line(kSeparator);
    line("RS MAP file, automaticly generated");
    line("FILE:\trs309");
    line("TYPE:\tenum");
    line("NAME:\tKelvora_12");
    line("RSKEY:\t309");
    line(kSeparator);
    line("SIZE:\t5100 bytes");
    line("FRAME:\t300 bytes");
    // The counts stand as the unit tools have always written them; readers skip the header.
    line("bytes:\t2527");
    line("words:\t1154");
    line("free:\t265 bytes");
    line("free bytes:\t74");
    line("free words:\t95");
    line(kSeparator);
    line(kSeparator);

    char buffer[128];
    for (const LayoutRow& row : kLayoutRows) {
        const std::string name(row.name);
        std::snprintf(buffer, sizeof buffer, "%-37s\t%5d\t%s\t%d\t", name.c_str(), row.offset,
                      std::string(typeText(row.type)).c_str(), row.length);
        out += buffer;
        line(frameMarker(row));
    }
    return out;
}
