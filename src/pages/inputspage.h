#pragma once
// The inputs page's functions and tables that other pages and the tests use: which function each of the unit's
// seven multifunction inputs has decides what the sensors, N2O, oil pressure and cruise control pages show.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "pages/pageform.h"

inline constexpr int kInputCount = 7;
inline constexpr int kInputFunctionByte = 3836;  // function id of input n at 3835 + n
inline constexpr int kInputPolarityByte = 3844;  // bit n-1 set: input n acts on its normal polarity

// Function ids that other pages look for.
inline constexpr int kInputN2O = 12;
inline constexpr int kInputFuelSensor = 13;
inline constexpr int kInputQuickshiftAnalog = 14;
inline constexpr int kInputCruiseControl = 17;
inline constexpr int kInputOilPressure = 18;

struct InputFunction
{
    int id;                      // the value stored in the image
    bool polarity;               // the input's polarity box is offered
    int order;                   // place in the lists
    std::string_view caption;    // trilingual
};
[[nodiscard]] std::span<const InputFunction> InputFunctions();
// Bit id set: input n (1..7) offers function id.
[[nodiscard]] std::uint32_t InputFunctionMask(int input);

// Input n's name in the current language, with its connector pin: "Multifunction input 3 (pin 7)".
[[nodiscard]] std::string MultifunctionInputName(int input);
// Whether one of inputs 1..7 (and input 8's byte 3843 when `withEighth`) has the function.
[[nodiscard]] bool AnyInputHas(const Image& image, int function, bool withEighth = false);

void InputsPageCaptions(TPageForm& w);
void ShowInputsPage(TPageForm& w);
void StoreInputsPage(TPageForm& w);
// Which controls of the inputs show, by the functions chosen.
void InputsPageLayout(TPageForm& w);
