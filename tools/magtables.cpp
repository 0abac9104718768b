// celvane-magtables: turns World Magnetic Model coefficient files (NOAA's
// ".COF" format) into the C++ table source engine/magnetic_tables.cpp.
//
//   celvane-magtables OUTPUT.cpp MODEL1.COF [MODEL2.COF ...]
//
// The models are written in the order given; their epochs must increase.
// The coefficients are stored pre-multiplied by the Schmidt normalisation
// factors, as NOAA's synthesis routine (geomag.c, "geomg1") does at start-up,
// so that the engine's recursion works on unnormalised Legendre functions.
// Only file names (never folders) appear in the output, so any checkout
// produces the same bytes. The output is written to a ".tmp" twin first and
// only then moved over the old file: a failed run leaves it untouched.

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kDegree = 12;
constexpr int kTerms = kDegree * (kDegree + 3) / 2;  // (n, m) for n = 1..12, m = 0..n: 90

struct Term {
    double g = 0, h = 0, gRate = 0, hRate = 0;
    bool seen = false;
};

struct Model {
    std::string fileName;   // without folder
    std::string name;       // "WMM2010" (the header's "WMM-2010" without the hyphen)
    std::string issued;     // the header's date text
    int epochHundredths = 0;
    Term terms[kTerms];
};

struct ToolError {
    std::string text;
};

int TermIndex(int n, int m) { return n * (n + 1) / 2 + m - 1; }

std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<std::string> SplitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    std::string f;
    while (in >> f) fields.push_back(f);
    return fields;
}

// A whole field as a finite number of sensible size, or an error naming the line.
double ParseNumber(const std::string& field, const std::string& where) {
    if (field.empty() || field.size() > 40) throw ToolError{where + ": invalid number \"" + field + "\""};
    const char* begin = field.c_str();
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(begin, &end);
    if (end != begin + field.size() || errno != 0 || !std::isfinite(v) || std::fabs(v) > 1e6)
        throw ToolError{where + ": invalid number \"" + field + "\""};
    return v;
}

int ParseInt(const std::string& field, const std::string& where) {
    if (field.empty() || field.size() > 4) throw ToolError{where + ": invalid integer \"" + field + "\""};
    int v = 0;
    for (char c : field) {
        if (c < '0' || c > '9') throw ToolError{where + ": invalid integer \"" + field + "\""};
        v = v * 10 + (c - '0');
    }
    return v;
}

Model ReadModel(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ToolError{"cannot open " + path};
    Model model;
    model.fileName = BaseName(path);
    std::string line;
    int lineNo = 0;
    bool ended = false;
    int count = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (lineNo > 1000) throw ToolError{path + ": too many lines"};
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string where = path + " line " + std::to_string(lineNo);
        std::vector<std::string> f = SplitFields(line);
        if (lineNo == 1) {
            // "    2010.0            WMM-2010        11/20/2009"
            if (f.size() != 3) throw ToolError{where + ": expected epoch, model name and date"};
            double epoch = ParseNumber(f[0], where);
            if (epoch < 1900 || epoch > 2200) throw ToolError{where + ": epoch out of range"};
            model.epochHundredths = static_cast<int>(std::lround(epoch * 100));
            if (std::fabs(model.epochHundredths - epoch * 100) > 1e-6)
                throw ToolError{where + ": epoch is not a whole hundredth of a year"};
            for (char c : f[1]) {
                bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
                if (!ok) throw ToolError{where + ": invalid model name \"" + f[1] + "\""};
                if (c != '-') model.name += c;
            }
            if (model.name.empty() || model.name.size() > 20) throw ToolError{where + ": invalid model name"};
            for (char c : f[2])
                if (!((c >= '0' && c <= '9') || c == '/')) throw ToolError{where + ": invalid date \"" + f[2] + "\""};
            model.issued = f[2];
            continue;
        }
        if (f.empty()) continue;
        if (f.size() == 1 && f[0].compare(0, 4, "9999") == 0) {
            ended = true;
            break;
        }
        if (f.size() != 6) throw ToolError{where + ": expected n, m, g, h, g rate, h rate"};
        int n = ParseInt(f[0], where), m = ParseInt(f[1], where);
        if (n < 1 || n > kDegree || m > n) throw ToolError{where + ": degree or order out of range"};
        Term& t = model.terms[TermIndex(n, m)];
        if (t.seen) throw ToolError{where + ": term (" + f[0] + ", " + f[1] + ") given twice"};
        t.g = ParseNumber(f[2], where);
        t.h = ParseNumber(f[3], where);
        t.gRate = ParseNumber(f[4], where);
        t.hRate = ParseNumber(f[5], where);
        if (m == 0 && (t.h != 0 || t.hRate != 0)) throw ToolError{where + ": h of order 0 must be 0"};
        t.seen = true;
        ++count;
    }
    if (lineNo == 0) throw ToolError{path + ": empty file"};
    if (!ended) throw ToolError{path + ": missing end line (9999...)"};
    if (count != kTerms)
        throw ToolError{path + ": " + std::to_string(count) + " terms, expected " + std::to_string(kTerms)};
    return model;
}

// The Schmidt semi-normalisation factors in the recursive form of geomag.c:
// S(n,0) = S(n-1,0) (2n-1)/n, S(n,m) = S(n,m-1) sqrt((n-m+1) j / (n+m)) with
// j = 2 for m = 1, else 1.
void Normalise(Model& model) {
    double s0 = 1.0;
    for (int n = 1; n <= kDegree; ++n) {
        s0 *= double(2 * n - 1) / n;
        double s = s0;
        for (int m = 0; m <= n; ++m) {
            if (m > 0) s *= std::sqrt(double((n - m + 1) * (m == 1 ? 2 : 1)) / (n + m));
            Term& t = model.terms[TermIndex(n, m)];
            t.g *= s;
            t.h *= s;
            t.gRate *= s;
            t.hRate *= s;
        }
    }
}

// The shortest text that reads back as the same float, as a C++ float literal.
std::string FloatLiteral(double value) {
    float f = static_cast<float>(value);
    if (f == 0.0f) return "0.0f";
    char buf[64];
    for (int digits = 1; digits <= 9; ++digits) {
        std::snprintf(buf, sizeof buf, "%.*g", digits, static_cast<double>(f));
        if (std::strtof(buf, nullptr) == f) break;
    }
    std::string s = buf;
    if (s.find_first_of(".e") == std::string::npos) s += ".0";
    return s + "f";
}

std::string Generate(const std::vector<Model>& models) {
    std::ostringstream out;
    out << "// Generated by tools/magtables.cpp from catalogs/magnetic/";
    for (size_t i = 0; i < models.size(); ++i) out << (i ? ", " : "") << models[i].fileName;
    out << ".\n"
           "// Do not edit: re-run the tool (catalogs/magnetic/README.md tells how).\n"
           "// Per model: g, h and their yearly rates (nT, nT/year) for n = 1..12,\n"
           "// m = 0..n, each multiplied by its Schmidt normalisation factor.\n"
           "\n"
           "#include \"engine/magnetic_tables.h\"\n"
           "\n"
           "namespace Calc {\n"
           "\n"
           "const MagneticCoefficients kMagneticModels[] = {\n";
    for (const Model& model : models) {
        out << "    {u\"" << model.name << "\", " << model.epochHundredths << ",  // issued "
            << model.issued << "\n"
            << "     {\n";
        for (int n = 1; n <= kDegree; ++n) {
            for (int m = 0; m <= n; ++m) {
                const Term& t = model.terms[TermIndex(n, m)];
                out << "         {" << FloatLiteral(t.g) << ", " << FloatLiteral(t.h) << ", "
                    << FloatLiteral(t.gRate) << ", " << FloatLiteral(t.hRate) << "},  // " << n << " " << m
                    << "\n";
            }
        }
        out << "     }},\n";
    }
    out << "};\n"
           "\n"
           "const int kMagneticModelCount = "
        << models.size()
        << ";\n"
           "\n"
           "}  // namespace Calc\n";
    return out.str();
}

void WriteReplacing(const std::string& path, const std::string& text) {
    std::string tmp = path + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) throw ToolError{"cannot write " + tmp};
        out << text;
        out.flush();
        if (!out) {
            std::remove(tmp.c_str());
            throw ToolError{"cannot write " + tmp};
        }
    }
    if (std::rename(tmp.c_str(), path.c_str()) != 0) {
        std::remove(tmp.c_str());
        throw ToolError{"cannot replace " + path};
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: celvane-magtables OUTPUT.cpp MODEL.COF [MODEL.COF ...]\n";
        return 2;
    }
    try {
        std::vector<Model> models;
        for (int i = 2; i < argc; ++i) {
            models.push_back(ReadModel(argv[i]));
            Normalise(models.back());
            if (models.size() > 1 && models.back().epochHundredths <= models[models.size() - 2].epochHundredths)
                throw ToolError{std::string(argv[i]) + ": epochs must increase from model to model"};
        }
        WriteReplacing(argv[1], Generate(models));
    } catch (const ToolError& e) {
        std::cerr << "celvane-magtables: " << e.text << "\n";
        return 1;
    }
    return 0;
}
