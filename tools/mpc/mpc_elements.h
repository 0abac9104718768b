// The Minor Planet Center's one-line orbital-element formats, read line by
// line and turned into records of a comet/asteroid file (.pco):
//
//  - comets, as in the MPC's "CometEls.txt": perihelion time and distance,
//    e, omega, Omega, i (J2000), the epoch of osculation, H and G, the
//    designation and name;
//  - minor planets, as in "MPCORB.DAT": packed designation, H, G, packed
//    epoch, M, omega, Omega, i, e, n, a, ... and the readable designation.
//
// Column numbers below count from 1, as the MPC's format pages do. Every
// numeric field is read in its own columns and the blank columns between
// the fields must be blank, so that a line whose columns are shifted is
// refused rather than misread.
#pragma once

#include <string>

namespace mpc {

// What one input line gave.
struct LineResult {
    enum Kind {
        kBlank,     // nothing on the line
        kRecord,    // an object: `record` and `name` are set
        kError,     // a line of either format that cannot be read: `error`
        kUnknown,   // a line of neither format (e.g. a header): `error`
    };
    Kind kind = kBlank;
    bool asteroid = false;  // a minor-planet line rather than a comet line
    std::string record;     // the .pco record, UTF-8, without line end
    std::string name;       // the object's name, UTF-8
    std::string error;      // why the line was not used
};

// Reads one line (without its line end) in whichever of the two formats it
// is written.
LineResult ConvertLine(const std::string& line);

// --- the parts, for the tests ------------------------------------------------------------

// The comet designation of the packed columns 1-12 of a comet line
// ("0001P", "    CK20F030", "0073P      t", "    PJ98V24S"):
// "1P", "C/2020 F3", "73P-T", "P/1998 VS24"; empty when not a designation.
std::string UnpackCometDesignation(const std::string& packed12);

// A minor planet's packed designation (columns 1-7 of MPCORB): "00001" ->
// "1", "A0345" -> "100345", "~0000" -> "620000", "K24A01B" -> "2024 AB1",
// "PLS2040" -> "2040 P-L", "T1S3138" -> "3138 T-1"; empty when none.
std::string UnpackMinorPlanet(const std::string& packed7);

// A packed epoch ("K243V" = 2024 March 31); false when it is not a date.
bool UnpackEpoch(const std::string& packed5, int& year, int& month, int& day);

// The days of a month of the Gregorian calendar (the Julian one before 1583).
int DaysInMonth(int year, int month);

}  // namespace mpc
