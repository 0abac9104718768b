// Looking a star up by a typed catalogue number ("HR 2491", "HIP 32349",
// "TYC 5949-2777-1"), the designation texts of the three catalogues, and the
// rows that the "Stars by Number" list shows.
#pragma once

#include <cstdint>
#include <string>

#include "data/messages.h"
#include "data/starformat.h"

namespace Data {

// "HR 2491", "HIP 32349", "TYC 5949-2777-1".
std::u16string FormatHr(int hr);
std::u16string FormatHip(uint32_t hip);
std::u16string FormatTyc(const TycNumber& tyc);

// The TYC number of a text such as "5949-2777-1" (spaces are ignored, any
// non-digit separates); all parts 0 when the text is not a TYC number.
TycNumber ParseTycNumber(const std::u16string& text);

// The star named by "HR n", "HIP n" or "TYC a-b-c" (letter case ignored), or -1.
StarNumber StarFromNumberText(const std::u16string& text);

// The designations of a star joined by ", ": HR, HIP and TYC where it has them.
std::u16string StarNumberRowText(StarNumber n);

// The information rows of the list: 0..3 the help, 4 empty, 5 not found.
extern const Message kMsgStarNumberHelp;     // "Enter star number like"
extern const Message kMsgStarNumberHelpHr;   // "\"HR 1234\" for Yale Bright Star Cat. Nr"
extern const Message kMsgStarNumberHelpHip;  // "\"HIP 123456\" for Hipparcos Nr"
extern const Message kMsgStarNumberHelpTyc;  // "\"TYC 1234-12345-1\" for Tycho-2 Nr"
extern const Message kMsgStarNumberEmpty;    // an empty row
extern const Message kMsgStarNotFound;       // "   Star not found"

// The content of the "Stars by Number" list for the text typed so far.
class StarNumberList {
public:
    // The row count for a text: -4 (the help rows, no selection) for fewer
    // than three characters, -6 (help and not found) when no star has the
    // number, 1 when one has; a negative count means information rows only.
    int Refresh(const std::u16string& text);
    // The star found by the last Refresh, -1 when none.
    StarNumber Star() const { return star_; }
    // The text of a row: the star's designations, or an information row.
    std::u16string RowText(int row) const;

private:
    StarNumber star_ = kNoStar;
};

}  // namespace Data
