#pragma once
// Trilingual texts: "###English##Deutsch##Česky" (one to three parts, UTF-8). The k-th part serves language k;
// the picker returns a view into the literal itself, which is never rewritten.
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

inline constexpr int LNG_ENGLISH = 0;
inline constexpr int LNG_GERMAN = 1;
inline constexpr int LNG_CZECH = 2;
inline constexpr int LNG_CURRENT = -1;  // index argument: the program's current language
inline constexpr int LNG_LONGEST = -2;  // index argument: the longest part (for sizing controls)

// The program's language: 0 English, 1 German, 2 Czech. Any other value is stored as given; the image repair
// brings it back to 0.
[[nodiscard]] int GetLanguageIndex() noexcept;
void SetLanguageIndex(int index) noexcept;

// The part of `text` for a language (LNG_CURRENT, 0..2 or LNG_LONGEST). A text that does not start with '#' is
// returned whole; a malformed literal is returned whole and reported once to the error hook. The result views
// the caller's storage, so it lives as long as the text does.
[[nodiscard]] std::string_view GetLngText(std::string_view text, int index = LNG_CURRENT);

// The current language's part of `text` with printf-style arguments filled in (every part of a trilingual text
// takes the same arguments in the same order).
template <class... Args>
[[nodiscard]] std::string FormatLngText(std::string_view text, Args... args)
{
    const std::string format(GetLngText(text));
    const int n = std::snprintf(nullptr, 0, format.c_str(), args...);
    if (n <= 0) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    std::snprintf(out.data(), out.size() + 1, format.c_str(), args...);
    return out;
}

// Receives the message about a malformed trilingual literal (a developer fault), once per distinct literal.
// Empty by default; the shell routes it to a message box and the error log. Main thread only.
using LngTextErrorHook = std::function<void(std::string_view message)>;
void SetLngTextErrorHook(LngTextErrorHook hook);
// Forgets which literals were reported already (for tests).
void ResetLngTextErrorReports();
