#include "mpc_elements.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "data/errors.h"
#include "data/objectfiles.h"
#include "data/platform.h"
#include "engine/astrotime.h"

namespace mpc {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsLower(char c) { return c >= 'a' && c <= 'z'; }

// The text of columns first..last (from 1), shorter where the line ends.
std::string Cols(const std::string& line, size_t first, size_t last) {
    if (first > line.size()) return std::string();
    return line.substr(first - 1, last - first + 1);
}

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

bool Blank(const std::string& s) { return Trim(s).empty(); }

// 0..9, A..Z = 10..35, a..z = 36..61: the digits of the MPC's packed forms.
int Base62(char c) {
    if (IsDigit(c)) return c - '0';
    if (IsUpper(c)) return c - 'A' + 10;
    if (IsLower(c)) return c - 'a' + 36;
    return -1;
}

// A century letter: I = 18, J = 19, K = 20, L = 21.
int Century(char c) { return c >= 'I' && c <= 'L' ? c - 'I' + 18 : -1; }

// The year of a packed century letter and two digits, or -1.
int PackedYear(const std::string& s) {
    if (s.size() < 3 || Century(s[0]) < 0 || !IsDigit(s[1]) || !IsDigit(s[2])) return -1;
    return Century(s[0]) * 100 + (s[1] - '0') * 10 + (s[2] - '0');
}

// The cycle count of a provisional designation, two packed characters
// ("01" = 1, "A0" = 100, "z9" = 619), or -1.
int PackedCycle(char tens, char units) {
    const int t = Base62(tens);
    if (t < 0 || !IsDigit(units)) return -1;
    return t * 10 + (units - '0');
}

// A decimal number in the fixed-column style: optional sign, digits, at
// most one point, nothing else. The text is kept so that the record holds
// the figures as the MPC gives them.
bool Decimal(const std::string& field, double& value, std::string& text) {
    const std::string t = Trim(field);
    size_t i = 0, digits = 0, points = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    for (; i < t.size(); ++i) {
        if (IsDigit(t[i]))
            ++digits;
        else if (t[i] == '.' && points == 0)
            ++points;
        else
            return false;
    }
    if (digits == 0 || digits > 30) return false;
    value = std::strtod(t.c_str(), nullptr);
    text = t[0] == '+' ? t.substr(1) : t;
    if (text[0] == '.') text.insert(0, "0");
    if (text.compare(0, 2, "-.") == 0) text.insert(1, "0");
    return std::isfinite(value);
}

bool Whole(const std::string& field, int& value) {
    const std::string t = Trim(field);
    if (t.empty() || t.size() > 9) return false;
    value = 0;
    for (char c : t) {
        if (!IsDigit(c)) return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

std::string Quoted(const std::string& s) {
    if (s.find(';') == std::string::npos && s.find('"') == std::string::npos) return s;
    std::string out = "\"";
    for (char c : s) {
        out += c;
        if (c == '"') out += '"';
    }
    return out + "\"";
}

bool ValidUtf8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        size_t n = 0;
        if (c < 0x80)
            n = 0;
        else if (c >= 0xC2 && c <= 0xDF)
            n = 1;
        else if (c >= 0xE0 && c <= 0xEF)
            n = 2;
        else if (c >= 0xF0 && c <= 0xF4)
            n = 3;
        else
            return false;
        if (i + n >= s.size()) return false;
        for (size_t k = 1; k <= n; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
        }
        i += n + 1;
    }
    return true;
}

// A name as UTF-8 text on one line: valid UTF-8 stays, anything else is
// taken as Latin-1; control characters become spaces.
std::string NameText(const std::string& s) {
    const bool utf8 = ValidUtf8(s);
    std::string out;
    for (char ch : s) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F) {
            out += ' ';
        } else if (c < 0x80 || utf8) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return Trim(out);
}

std::string DateText(int year, int month, int day) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year, month, day);
    return buf;
}

// The Julian Day of 0h of a date plus a fraction of the day, with as many
// decimals as needed (at most six: the program keeps whole seconds).
std::string JulianDayText(int year, int month, int day, double fraction) {
    const Calc::AstroTime t = Calc::FromCalendar(year, month, day);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.6f", t.day + 2400000.5 + fraction);
    std::string s = buf;
    while (s.back() == '0' && s[s.size() - 2] != '.') s.pop_back();
    return s;
}

// The program keeps moments from 1858-11-17 (MJD 1) on.
bool BeforeEarliestMoment(int year, int month, int day) { return Calc::FromCalendar(year, month, day).day < 1; }
const char kEarliest[] = " lies before 1858-11-17, the earliest date Celvane handles";

std::string Number(double v, const char* format) {
    char buf[48];
    std::snprintf(buf, sizeof buf, format, v);
    std::string s = buf;
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    return s;
}

// Fields read from fixed columns; the first problem is kept.
class Reader {
public:
    explicit Reader(const std::string& line) : line_(line) {}

    bool Ok() const { return error_.empty(); }
    const std::string& Error() const { return error_; }
    void Fail(const std::string& e) {
        if (error_.empty()) error_ = e;
    }

    // Columns that separate the fields must be blank: a character there
    // means that the fields stand in other columns than the format's.
    void BlankColumns(std::initializer_list<size_t> columns) {
        for (size_t c : columns) {
            if (c <= line_.size() && line_[c - 1] != ' ') {
                Fail("column " + std::to_string(c) + " should be blank: the fields are out of their columns (a wrong column width?)");
                return;
            }
        }
    }

    // A number in columns first..last; `optional` fields may be blank.
    bool Num(size_t first, size_t last, const char* what, double& value, std::string& text,
             bool optional = false) {
        const std::string f = Cols(line_, first, last);
        if (optional && Blank(f)) return false;
        if (!Decimal(f, value, text)) {
            Fail(std::string(what) + " in columns " + std::to_string(first) + "-" + std::to_string(last) +
                 " is not a number: \"" + Trim(f) + "\"");
            return false;
        }
        return true;
    }

    void Angle(size_t first, size_t last, const char* what, double max, std::string& text) {
        double v = 0;
        if (Num(first, last, what, v, text) && (v < 0 || v > max))
            Fail(std::string(what) + " " + text + " is outside 0 .. " + Number(max, "%.0f") + " degrees");
    }

private:
    const std::string& line_;
    std::string error_;
};

// Checks a record the way the program reads its files.
std::string ProgramReads(const std::string& record) {
    const std::u16string text = PL::FromUtf8(record);
    Data::FieldReader fields(text);
    try {
        Data::Comet::FromRecord(fields);
    } catch (const Data::DataError& e) {
        return PL::ToUtf8(e.Text());
    }
    return std::string();
}

std::string Record(const std::string& name, const std::string& info, int symbol, int typ,
                   std::initializer_list<std::string> numbers) {
    std::string r = Quoted(name) + ";" + Quoted(info) + ";" + std::to_string(symbol) + ";" + std::to_string(typ);
    for (const std::string& n : numbers) r += ";" + n;
    return r;
}

void Finish(LineResult& r, const std::string& record) {
    const std::string problem = ProgramReads(record);
    if (!problem.empty()) {
        r.kind = LineResult::kError;
        r.error = "the record would not load: " + problem;
        return;
    }
    r.kind = LineResult::kRecord;
    r.record = record;
}

// --- comets ------------------------------------------------------------------------------

bool LooksLikeComet(const std::string& line) {
    if (line.size() < 5) return false;
    const std::string type = "CPDXIA";
    if (type.find(line[4]) == std::string::npos) return false;
    const std::string number = line.substr(0, 4);
    bool digits = true, blanks = true;
    for (char c : number) {
        digits = digits && IsDigit(c);
        blanks = blanks && c == ' ';
    }
    return digits || blanks;
}

LineResult ConvertComet(const std::string& line) {
    LineResult r;
    r.kind = LineResult::kError;
    // A comet line has its name from column 103 on: a shorter one was cut.
    if (line.size() < 103) {
        r.error = "the line is cut short (it ends at column " + std::to_string(line.size()) +
                  "; a comet line has its name from column 103)";
        return r;
    }
    Reader rd(line);
    rd.BlankColumns({13, 14, 19, 22, 30, 40, 41, 50, 51, 60, 61, 70, 71, 80, 81, 90, 91, 96, 101, 102});

    int year = 0, month = 0;
    double day = 0;
    std::string dayText;
    if (!Whole(Cols(line, 15, 18), year) || !Whole(Cols(line, 20, 21), month))
        rd.Fail("the perihelion date in columns 15-21 is not a year and month: \"" + Cols(line, 15, 21) + "\"");
    rd.Num(23, 29, "the perihelion day", day, dayText);
    const int wholeDay = static_cast<int>(std::floor(day));
    if (rd.Ok() && (month < 1 || month > 12 || day < 1 || wholeDay > DaysInMonth(year, month)))
        rd.Fail("the perihelion date " + Trim(Cols(line, 15, 29)) + " is not a date");
    else if (rd.Ok() && BeforeEarliestMoment(year, month, wholeDay))
        rd.Fail("the perihelion date " + Trim(Cols(line, 15, 29)) + kEarliest);

    double q = 0, e = 0;
    std::string qText, eText, wText, nodeText, iText, hText, gText;
    if (rd.Num(31, 39, "the perihelion distance", q, qText) && q <= 0)
        rd.Fail(q == 0 ? "the perihelion distance is zero" : "the perihelion distance " + qText + " is negative");
    if (rd.Num(42, 49, "the eccentricity", e, eText) && e < 0) rd.Fail("the eccentricity " + eText + " is below zero");
    rd.Angle(52, 59, "the argument of perihelion", 360, wText);
    rd.Angle(62, 69, "the ascending node", 360, nodeText);
    rd.Angle(72, 79, "the inclination", 180, iText);

    // The epoch of osculation (YYYYMMDD) may be blank; it only goes into
    // the description.
    std::string epochText;
    const std::string epoch = Cols(line, 82, 89);
    if (!Blank(epoch)) {
        int ey = 0, em = 0, ed = 0;
        if (!Whole(epoch.substr(0, 4), ey) || !Whole(epoch.substr(4, 2), em) || !Whole(epoch.substr(6, 2), ed) ||
            Trim(epoch).size() != 8)
            rd.Fail("the epoch in columns 82-89 is not a date: \"" + Trim(epoch) + "\"");
        else if (em < 1 || em > 12 || ed < 1 || ed > DaysInMonth(ey, em))
            rd.Fail("the epoch " + epoch + " is not a date");
        else
            epochText = ", epoch " + DateText(ey, em, ed);
    }

    // m = H + 5 log Delta + 2.5 G log r: the program's k is 2.5 G. Without H
    // there is no magnitude (-1000); without G the usual G = 4 (k = 10).
    double h = 0, g = 4;
    const bool haveH = rd.Num(92, 95, "the absolute magnitude", h, hText, true);
    rd.Num(97, 100, "the slope parameter", g, gText, true);
    if (!rd.Ok()) {
        r.error = rd.Error();
        return r;
    }

    const std::string packed = Cols(line, 1, 12);
    const std::string designation = UnpackCometDesignation(packed);
    std::string name = NameText(Cols(line, 103, 158));
    // The MPC writes the okina of 1I/`Oumuamua as a back quote.
    for (char& c : name) {
        if (c == '`') c = '\'';
    }
    if (name.empty()) name = designation;
    if (name.empty()) {
        r.error = "neither a designation in columns 1-12 nor a name in columns 103-158";
        return r;
    }

    const char type = line[4];
    int symbol = 0;
    std::string info;
    const double period = e < 1 ? std::pow(q / (1 - e), 1.5) : 0;  // years
    const bool asteroidal = type == 'A';
    if (type == 'I') {
        symbol = 3;
        info = "Interstellar object";
    } else if (e >= 1) {
        symbol = 2;
        info = asteroidal ? "Asteroid on an open orbit" : "Comet on an open orbit";
    } else {
        // Periodic by designation (P/, D/): below 200 years the periodic
        // symbol; a C/ or X/ comet keeps the long-period one whatever its
        // osculating period.
        const bool periodic = type == 'P' || type == 'D' || asteroidal;
        symbol = periodic && period < 200 ? 0 : 1;
        info = asteroidal ? "Asteroid on a cometary orbit"
               : type == 'D' ? "Defunct periodic comet"
               : type == 'P' ? "Periodic comet"
               : period < 200 ? "Comet"
                              : "Long-period comet";
        if (period < 200) info += ", period " + Number(period, "%.1f") + " years";
    }
    info += ", perihelion " + DateText(year, month, wholeDay) + epochText;

    const std::string jd = JulianDayText(year, month, wholeDay, day - wholeDay);
    const std::string hField = haveH ? hText : "-1000";
    const std::string kField = haveH ? Number(2.5 * g, "%.3f") : "0";
    r.name = name;
    Finish(r, Record(name, info, symbol, 1, {jd, "0", qText, eText, wText, nodeText, iText, hField, kField}));
    return r;
}

// --- minor planets ----------------------------------------------------------------------

bool LooksLikeMinorPlanet(const std::string& line) {
    if (!UnpackMinorPlanet(Cols(line, 1, 7)).empty()) return true;
    const std::string epoch = Cols(line, 21, 25);
    return epoch.size() == 5 && Century(epoch[0]) >= 0 && IsDigit(epoch[1]) && IsDigit(epoch[2]);
}

// Classes by the orbit alone, as the program's own asteroid list sorts them:
// 0 main belt and the like, 1 near-Earth, 2 Hildas and Jupiter trojans, 3 distant.
int AsteroidClass(double a, double e, std::string& text) {
    const double q = a * (1 - e);
    if (q < 1.3) return text = "Near-Earth asteroid", 1;
    if (a > 5.5) return text = a < 30.1 ? "Centaur" : "Trans-Neptunian object", 3;
    if (a >= 5.05 && a <= 5.35) return text = "Jupiter trojan", 2;
    if (a >= 3.7 && a <= 4.2) return text = "Hilda asteroid", 2;
    if (a >= 3.7) return text = "Outer asteroid", 2;
    if (q < 1.666) return text = "Mars-crosser", 0;
    if (a < 2.0) return text = "Hungaria asteroid", 0;
    return text = "Main-belt asteroid", 0;
}

LineResult ConvertMinorPlanet(const std::string& line) {
    LineResult r;
    r.kind = LineResult::kError;
    r.asteroid = true;
    if (line.size() < 103) {
        r.error = "the line is cut short (it ends at column " + std::to_string(line.size()) +
                  "; a minor-planet line has its semi-major axis in columns 93-103)";
        return r;
    }
    Reader rd(line);
    rd.BlankColumns({8, 14, 20, 26, 36, 37, 47, 48, 58, 59, 69, 70, 80, 92});

    int year = 0, month = 0, day = 0;
    const std::string epoch = Cols(line, 21, 25);
    if (!UnpackEpoch(epoch, year, month, day))
        rd.Fail("the epoch \"" + epoch + "\" in columns 21-25 is not a date");
    else if (BeforeEarliestMoment(year, month, day))
        rd.Fail("the epoch \"" + epoch + "\"" + kEarliest);

    double h = 0, g = 0.15, e = 0, a = 0;
    std::string hText, gText = "0.15", mText, wText, nodeText, iText, eText, aText;
    const bool haveH = rd.Num(9, 13, "the absolute magnitude H", h, hText, true);
    rd.Num(15, 19, "the slope parameter G", g, gText, true);
    rd.Angle(27, 35, "the mean anomaly", 360, mText);
    rd.Angle(38, 46, "the argument of perihelion", 360, wText);
    rd.Angle(49, 57, "the ascending node", 360, nodeText);
    rd.Angle(60, 68, "the inclination", 180, iText);
    if (rd.Num(71, 79, "the eccentricity", e, eText)) {
        if (e < 0)
            rd.Fail("the eccentricity " + eText + " is below zero");
        else if (e >= 1)
            rd.Fail("the eccentricity " + eText + " is not below 1: no elliptic orbit");
    }
    if (rd.Num(93, 103, "the semi-major axis", a, aText) && a <= 0)
        rd.Fail(a == 0 ? "the semi-major axis is zero" : "the semi-major axis " + aText + " is negative");
    if (!rd.Ok()) {
        r.error = rd.Error();
        return r;
    }

    // The readable designation, "(1) Ceres", "(12345) 1993 AB" or
    // "2024 AB1", becomes "1 Ceres", "12345 1993 AB", "2024 AB1": a number
    // first, as the program's own lists write them.
    std::string name = NameText(Cols(line, 167, 194));
    if (name.size() > 2 && name[0] == '(') {
        const size_t close = name.find(')');
        if (close != std::string::npos) name = name.substr(1, close - 1) + " " + Trim(name.substr(close + 1));
        name = Trim(name);
    }
    if (name.empty()) name = UnpackMinorPlanet(Cols(line, 1, 7));
    if (name.empty()) {
        r.error = "neither a designation in columns 1-7 nor a name in columns 167-194";
        return r;
    }

    std::string cls;
    const int symbol = AsteroidClass(a, e, cls);
    const std::string info = cls + ", epoch " + DateText(year, month, day);
    r.name = name;
    Finish(r, Record(name, info, symbol, 0,
                     {JulianDayText(year, month, day, 0), mText, aText, eText, wText, nodeText, iText,
                      haveH ? hText : "-1000", gText}));
    return r;
}

}  // namespace

int DaysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    if (month != 2) return kDays[month - 1];
    const bool leap = year < 1583 ? year % 4 == 0 : (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return leap ? 29 : 28;
}

std::string UnpackCometDesignation(const std::string& p) {
    if (p.size() < 5) return std::string();
    const char type = p[4];
    const std::string number = p.substr(0, 4);
    const std::string rest = p.size() > 5 ? p.substr(5) : std::string();
    if (IsDigit(number[0]) && IsDigit(number[1]) && IsDigit(number[2]) && IsDigit(number[3])) {
        // A numbered periodic comet; a fragment's letters (one or two,
        // lower case) end columns 6-12: "0073P      t" is 73P-T.
        const int n = std::atoi(number.c_str());
        if (n == 0) return std::string();
        std::string out = std::to_string(n) + type;
        const std::string fragment = Trim(rest);
        if (fragment.empty()) return out;
        if (fragment.size() > 2 || Trim(rest.substr(0, rest.size() - fragment.size())) != "") return std::string();
        out += '-';
        for (char c : fragment) {
            if (!IsLower(c)) return std::string();
            out += static_cast<char>(c - 'a' + 'A');
        }
        return out;
    }
    if (!Blank(number) || rest.size() < 7) return std::string();
    // "J95O010": 1995, half-month O, cycle 01, then 0 (a comet-style
    // designation), a lower-case fragment letter, or an upper-case second
    // letter of an asteroid-style designation ("J98V24S" = 1998 VS24).
    const int year = PackedYear(rest);
    const char half = rest[3];
    const int cycle = PackedCycle(rest[4], rest[5]);
    const char last = rest[6];
    if (year < 0 || !IsUpper(half) || half == 'I' || half == 'Z' || cycle < 0) return std::string();
    std::string out = std::string(1, type) + "/" + std::to_string(year) + " " + half;
    if (last == '0') {
        if (cycle == 0) return std::string();
        return out + std::to_string(cycle);
    }
    if (IsLower(last)) {
        if (cycle == 0) return std::string();
        return out + std::to_string(cycle) + "-" + static_cast<char>(last - 'a' + 'A');
    }
    if (IsUpper(last) && last != 'I') return out + last + (cycle ? std::to_string(cycle) : std::string());
    return std::string();
}

std::string UnpackMinorPlanet(const std::string& p7) {
    const std::string p = Trim(p7);
    if (p.size() == 5) {
        // Numbered: five digits, a letter for the ten-thousands
        // ("A0345" = 100345), or "~" and four base-62 digits from 620000 on.
        if (p[0] == '~') {
            long n = 0;
            for (size_t i = 1; i < 5; ++i) {
                const int d = Base62(p[i]);
                if (d < 0) return std::string();
                n = n * 62 + d;
            }
            return std::to_string(620000 + n);
        }
        const int high = Base62(p[0]);
        if (high < 0) return std::string();
        for (size_t i = 1; i < 5; ++i) {
            if (!IsDigit(p[i])) return std::string();
        }
        const long n = high * 10000L + std::atol(p.substr(1).c_str());
        return n > 0 ? std::to_string(n) : std::string();
    }
    if (p.size() != 7) return std::string();
    // Survey designations: "PLS2040" = 2040 P-L, "T1S3138" = 3138 T-1.
    if ((p.compare(0, 3, "PLS") == 0 || p.compare(0, 3, "T1S") == 0 || p.compare(0, 3, "T2S") == 0 ||
         p.compare(0, 3, "T3S") == 0)) {
        for (size_t i = 3; i < 7; ++i) {
            if (!IsDigit(p[i])) return std::string();
        }
        const std::string survey = p[0] == 'P' ? "P-L" : std::string("T-") + p[1];
        return std::to_string(std::atoi(p.substr(3).c_str())) + " " + survey;
    }
    // Provisional: "K24A01B" = 2024 AB1 (year, half-month, cycle, second letter).
    const int year = PackedYear(p);
    const int cycle = PackedCycle(p[4], p[5]);
    if (year < 0 || !IsUpper(p[3]) || p[3] == 'I' || p[3] == 'Z' || !IsUpper(p[6]) || p[6] == 'I' || cycle < 0)
        return std::string();
    return std::to_string(year) + " " + p[3] + p[6] + (cycle ? std::to_string(cycle) : std::string());
}

bool UnpackEpoch(const std::string& p, int& year, int& month, int& day) {
    if (p.size() != 5) return false;
    year = PackedYear(p);
    month = Base62(p[3]);
    day = Base62(p[4]);
    return year >= 0 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}

LineResult ConvertLine(const std::string& line) {
    if (Blank(line)) return LineResult();
    if (LooksLikeComet(line)) return ConvertComet(line);
    if (LooksLikeMinorPlanet(line)) return ConvertMinorPlanet(line);
    LineResult r;
    r.kind = LineResult::kUnknown;
    r.error = "not a line of the MPC's comet or minor-planet format";
    return r;
}

}  // namespace mpc
