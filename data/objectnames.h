// The names of things: the Sun, Moon and planets, the constellations (in
// English, German and French), the Greek letters, the proper names of the
// bright stars, and the designations composed from a star's HR, HIP, TYC,
// Bayer and Flamsteed numbers.
#pragma once

#include <cstdint>
#include <string>

#include "data/messages.h"
#include "data/starformat.h"

namespace Data {

// --- bodies ---------------------------------------------------------------------------------

// The names of bodies 0 (Sun) .. 9 (Pluto) in English, German and French;
// entry 10 ("Star") stands for any other index.
constexpr int kBodyNameCount = 11;
extern const Message kMsgBodyNames[kBodyNameCount];
// The body's name in the user's language (the last entry outside 0..9).
std::u16string BodyName(int body);
// The English name of body 0..9, empty otherwise: the language-independent
// form kept in the preferences.
std::u16string BodyKeyName(int body);

// --- constellations ---------------------------------------------------------------------------

// Index 0..87: the IAU abbreviations in alphabetical order; 88 is the second
// part of Serpens (abbreviation "Ser", Latin name that of 73, no common name).
constexpr int kConstellationNameCount = 88;
constexpr int kSerpensIndex = 73;
constexpr int kSerpensSecondPart = 88;

std::u16string ConstellationAbbreviation(int index);  // 0..88, empty otherwise
std::u16string ConstellationLatinName(int index);     // 88 reads as 73; empty above
// The common name in the user's language, or in an explicit one; empty
// outside 0..87.
std::u16string ConstellationCommonName(int index);
std::u16string ConstellationCommonName(int index, uint16_t language);
// The index of an abbreviation of exactly three characters, compared
// without regard to letter case ("CMa", "cma", "CMA": 19; "Ser": 73); -1 if none.
int ConstellationFromAbbreviation(const std::u16string& text);

// --- stars ------------------------------------------------------------------------------------

// Letter n of the Bayer designations, 1 (alpha) .. 24 (omega), as one
// character (the final sigma is skipped); empty for any other n.
std::u16string GreekLetter(int n);

// Proper name k = 1 .. 291 (alphabetical), empty otherwise.
constexpr int kProperNameTotal = 291;
std::u16string ProperName(int k);

// "61 Cyg", "9 \u03b1 CMa", "\u03b11 Cen": the Flamsteed number, the Greek
// letter with its superscript digit (as an ordinary digit) and the
// constellation's abbreviation; empty when the star has neither letter nor
// Flamsteed number.
std::u16string FormatBayerFlamsteed(uint8_t letter, uint8_t digit, uint8_t flamsteed, uint8_t constellation);

// A star's two designation lines.
struct StarNameLines {
    std::u16string primary;
    std::u16string secondary;
};
// The designations of a star (any StarNumber), from its HR, HIP, TYC,
// Bayer, Flamsteed numbers and proper name:
//  - Bayer/Flamsteed and no proper name: "61 Cyg, HIP 104214" over
//    "TYC 3168-2361-1, HR 8085";
//  - a proper name: "9 \u03b1 CMa, Sirius" over "HIP 32349, TYC 5949-2777-1"
//    (the name alone when the star has no Bayer or Flamsteed designation);
//  - neither, a HIP number: "HIP n, TYC a-b-c" over "HR n" (or nothing);
//  - neither, no HIP number: the TYC number over nothing.
// A number the star does not have is left out with its separator; a star
// with nothing else is named by its HR number.
StarNameLines StarNames(StarNumber n);

}  // namespace Data
