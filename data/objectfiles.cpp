#include "data/objectfiles.h"

#include <cfloat>
#include <cmath>
#include <new>

#include "data/errors.h"
#include "data/numtext.h"
#include "data/platform.h"
#include "data/utf8stream.h"

namespace Data {

namespace Column {
const char16_t kName[] = u"Name";
const char16_t kInfo[] = u"Info";
const char16_t kRA[] = u"RA";
const char16_t kDec[] = u"Dec";
const char16_t kShow[] = u"Show";
const char16_t kSymbol[] = u"Symbol";
const char16_t kMagn[] = u"magn";
const char16_t kDist[] = u"dist";
const char16_t kTyp[] = u"typ";
const char16_t kJd[] = u"jd";
const char16_t kM[] = u"M";
const char16_t kAQ[] = u"a/q";
const char16_t kE[] = u"e";
const char16_t kW[] = u"w";
const char16_t kNode[] = u"Node";
const char16_t kI[] = u"i";
const char16_t kH[] = u"H/H0";
const char16_t kG[] = u"G/k";
}  // namespace Column

namespace {

[[noreturn]] void Invalid(const char16_t* column) { throw DataFormatError::InvalidValue(column); }

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// A field in file form: quoted when the reader would otherwise cut it at a
// ";", take it for a quoted field or trim its spaces.
std::u16string Quoted(const std::u16string& s) {
    const bool plain = s.find(u';') == std::u16string::npos && (s.empty() || s[0] != u'"') &&
                       (s.empty() || (s.front() != u' ' && s.back() != u' '));
    if (plain) return s;
    std::u16string out = u"\"";
    for (char16_t c : s) {
        out += c;
        if (c == u'"') out += u'"';
    }
    out += u'"';
    return out;
}

std::u16string Number9(float v) { return FormatSignificant(v, 9); }

}  // namespace

// --- FieldReader ------------------------------------------------------------------------

FieldReader::FieldReader(const std::u16string& line, bool cut) : line_(line), cut_(cut) {}

bool FieldReader::Next(std::u16string& field) {
    field.clear();
    if (atEnd_) return false;
    const size_t n = line_.size();
    while (pos_ < n && line_[pos_] == u' ') ++pos_;
    if (pos_ < n && line_[pos_] == u'"') {
        size_t i = pos_ + 1;
        bool closed = false;
        while (i < n) {
            if (line_[i] == u'"') {
                if (i + 1 < n && line_[i + 1] == u'"') {
                    field += u'"';
                    i += 2;
                    continue;
                }
                closed = true;
                ++i;
                break;
            }
            field += line_[i++];
        }
        if (!closed && cut_) {  // the quote runs into the cut
            atEnd_ = true;
            return false;
        }
        const size_t semi = line_.find(u';', i);
        pos_ = semi == std::u16string::npos ? n : semi + 1;
        return true;
    }
    const size_t semi = line_.find(u';', pos_);
    size_t end = semi == std::u16string::npos ? n : semi;
    if (semi == std::u16string::npos) {
        atEnd_ = true;
        if (cut_) return false;  // the field's end was cut off
    }
    size_t begin = pos_;
    pos_ = semi == std::u16string::npos ? n : semi + 1;
    while (end > begin && line_[end - 1] == u' ') --end;
    field.assign(line_, begin, end - begin);
    return true;
}

std::u16string FieldReader::Text(const char16_t* column) {
    std::u16string f;
    if (!Next(f)) Invalid(column);
    return f;
}

void FieldReader::Skip(const char16_t* column) { Text(column); }

float FieldReader::Sexagesimal(const char16_t* column) {
    const std::u16string f = Text(column);
    float v = 0;
    if (!ParseSexagesimal(f, v) || !std::isfinite(v)) Invalid(column);
    return v;
}

float FieldReader::Number(const char16_t* column) {
    const std::u16string f = Text(column);
    double v = 0;
    if (!ParseNumber(f, v) || !(std::fabs(v) <= FLT_MAX)) Invalid(column);
    return static_cast<float>(v);
}

uint32_t FieldReader::Integer(const char16_t* column, uint32_t max) {
    const std::u16string f = Text(column);
    size_t b = 0, e = f.size();
    while (b < e && IsBlank(f[b])) ++b;
    while (e > b && IsBlank(f[e - 1])) --e;
    if (b == e) Invalid(column);
    uint64_t v = 0;
    for (size_t i = b; i < e; ++i) {
        if (f[i] < u'0' || f[i] > u'9') Invalid(column);
        v = v * 10 + static_cast<uint64_t>(f[i] - u'0');
        if (v > max) Invalid(column);
    }
    return static_cast<uint32_t>(v);
}

Calc::AstroTime FieldReader::JulianDay(const char16_t* column) {
    const std::u16string f = Text(column);
    Calc::AstroTime t;
    // A number that parses but is no valid moment (JD 100000 .. 2400001)
    // would silently become the invalid time: refused as well.
    if (!Calc::ParseJulianDay(f, t) || !t.IsValid()) Invalid(column);
    return t;
}

// --- UserObj ------------------------------------------------------------------------------

Calc::Vec3 UserObj::Direction() const {
    constexpr float k = 3.051851e-5f;  // 1/32767
    return {x * k, y * k, z * k};
}

void UserObj::ComputeDirection() {
    const Calc::Vec3 u = Calc::SphToCart({ra * 0.2617994f, dec * 0.017453292f, 1.0f});
    auto q15 = [](float c) {
        float v = c * 32767.0f;
        if (v > 32767.0f) v = 32767.0f;
        if (v < -32767.0f) v = -32767.0f;
        return static_cast<int16_t>(v);  // truncated towards zero
    };
    x = q15(u.x);
    y = q15(u.y);
    z = q15(u.z);
}

UserObj UserObj::FromRecord(FieldReader& f) {
    using namespace Column;
    UserObj o;
    o.name = f.Text(kName);
    o.info = f.Text(kInfo);
    o.ra = f.Sexagesimal(kRA);
    o.dec = f.Sexagesimal(kDec);
    f.Skip(kShow);
    o.symbol = static_cast<uint8_t>(f.Integer(kSymbol, 255));
    o.magnitude = f.Number(kMagn);
    o.distance = f.Number(kDist);
    o.ComputeDirection();
    return o;
}

std::u16string UserObj::ToRecord() const {
    std::u16string s = Quoted(name);
    s += u';';
    s += Quoted(info);
    s += u';';
    s += FormatSexagesimal(ra, u"hms3", kHourUnits);
    s += u';';
    s += FormatSexagesimal(dec, u"hms2", kDegreeUnits);
    s += u";1;";
    s += FormatInt(symbol);
    s += u';';
    s += Number9(magnitude);
    s += u';';
    s += Number9(distance);
    return s;
}

// --- Comet -------------------------------------------------------------------------------------

Comet Comet::FromRecord(FieldReader& f) {
    using namespace Column;
    Comet c;
    c.name = f.Text(kName);
    c.info = f.Text(kInfo);
    const uint32_t symbol = f.Integer(kSymbol, 255);
    c.typ = static_cast<int32_t>(f.Integer(kTyp, 9));
    if (c.typ != 0 && c.typ != 1) Invalid(kTyp);
    // Comets' pictures follow the asteroids' in the strip.
    c.symbol = static_cast<uint8_t>(c.typ == 1 ? (symbol + 4 > 255 ? 255 : symbol + 4) : symbol);

    Calc::OrbitElements& el = c.orbit;
    el.kind = c.typ;
    el.epoch = f.JulianDay(kJd);
    el.meanAnomaly = f.Number(kM);
    el.distance = f.Number(kAQ);
    // Elements that describe no orbit would give no position at all: a
    // perihelion distance must be positive, so must be a for an ellipse (a
    // hyperbola in asteroid form has a negative a).
    if (c.typ == 1 ? !(el.distance > 0) : el.distance == 0) Invalid(kAQ);
    el.eccentricity = f.Number(kE);
    if (el.eccentricity < 0) Invalid(kE);
    if (c.typ == 0 && !((1.0f - el.eccentricity) * el.distance > 0)) Invalid(el.distance > 0 ? kE : kAQ);
    el.argPerihelion = f.Number(kW);
    el.node = f.Number(kNode);
    el.inclination = f.Number(kI);
    el.absMagnitude = f.Number(kH);
    el.slope = f.Number(kG);
    Calc::PrepareOrbit(el);
    return c;
}

std::u16string Comet::ToRecord() const {
    const Calc::OrbitElements& el = orbit;
    std::u16string s = Quoted(name);
    s += u';';
    s += Quoted(info);
    s += u';';
    s += FormatInt(typ == 1 ? symbol - 4 : symbol);
    s += u';';
    s += FormatInt(typ);
    s += u';';
    s += Calc::FormatJulianDay(el.epoch, 6);
    for (float v : {el.meanAnomaly, el.distance, el.eccentricity, el.argPerihelion, el.node, el.inclination,
                    el.absMagnitude, el.slope}) {
        s += u';';
        s += Number9(v);
    }
    return s;
}

// --- stores ----------------------------------------------------------------------------------

ConfigObjStoreBase::~ConfigObjStoreBase() = default;

std::u16string ReadErrorText(const std::u16string& path) { return PL::FileIOError::Reading(path).Text(); }

namespace {

// One line up to its LF (not stored). At most kMaxRecordChars characters are
// kept; the rest of a longer line is read and dropped, and `cut` is set.
// False when the file had no more characters.
bool ReadRecordLine(PL::utf8wfbuf& buf, std::u16string& line, bool& cut) {
    using Traits = std::char_traits<char16_t>;
    line.clear();
    cut = false;
    bool any = false;
    for (;;) {
        const Traits::int_type c = buf.sbumpc();
        if (Traits::eq_int_type(c, Traits::eof())) return any;
        any = true;
        if (c == u'\n') return true;
        if (line.size() < kMaxRecordChars)
            line.push_back(Traits::to_char_type(c));
        else
            cut = true;
    }
}

}  // namespace

std::u16string ReadObjectFile(const std::u16string& path, ConfigObjStoreBase& store) {
    store.Clear();
    PL::utf8wfbuf buf;
    if (!buf.open(path, PL::utf8wfbuf::kRead)) return ReadErrorText(path);
    long lineNumber = 0;
    try {
        std::u16string line;
        bool cut = false;
        while (ReadRecordLine(buf, line, cut)) {
            ++lineNumber;
            FieldReader fields(line, cut);
            try {
                store.AddFromLine(fields);
            } catch (const DataError& e) {
                return DataError::InFile(path, lineNumber, e.Text()).Text();
            }
        }
    } catch (const std::bad_alloc&) {
        return ReadErrorText(path);
    } catch (const std::ios_base::failure&) {
        return ReadErrorText(path);  // reading ended other than at the end of the file
    }
    if (buf.failed() || !buf.close()) return ReadErrorText(path);
    return std::u16string();
}

// --- managers ------------------------------------------------------------------------------------

namespace {

struct Folders {
    bool set = false;
    std::u16string program;
    std::u16string data;
};

Folders& TheFolders() {
    static Folders f;
    return f;
}

// A name that stays inside the folders and holds no wild card.
bool SafeName(const std::u16string& name) {
    if (name.empty()) return false;
    for (char16_t c : name) {
        if (c < 0x20 || c == u'/' || c == u'\\' || c == u':' || c == u'*' || c == u'?') return false;
    }
    return name != u"." && name != u"..";
}

std::u16string WithoutExtension(const std::u16string& fileName) {
    const size_t dot = fileName.rfind(u'.');
    return dot == std::u16string::npos ? fileName : fileName.substr(0, dot);
}

}  // namespace

ObjectFileManagerBase::ObjectFileManagerBase(std::u16string extension) : extension_(std::move(extension)) {}
ObjectFileManagerBase::~ObjectFileManagerBase() = default;

void ObjectFileManagerBase::SetFolders(const std::u16string& programFolder, const std::u16string& dataFolder) {
    Folders& f = TheFolders();
    f.set = true;
    f.program = programFolder;
    f.data = dataFolder;
}

void ObjectFileManagerBase::UseDefaultFolders() { TheFolders() = Folders(); }

std::u16string ObjectFileManagerBase::ProgramFolder() {
    const Folders& f = TheFolders();
    return f.set ? f.program : PL::Current().ProgramFolder();
}

std::u16string ObjectFileManagerBase::DataFolder() {
    const Folders& f = TheFolders();
    return f.set ? f.data : JoinPath(PL::Current().AppDataFolder(), u"celvane");
}

std::u16string ObjectFileManagerBase::JoinPath(const std::u16string& folder, const std::u16string& name) {
    if (folder.empty()) return name;
    if (folder.back() == u'\\' || folder.back() == u'/') return folder + name;
    return folder + PL::Current().PathSeparator() + name;
}

void ObjectFileManagerBase::ListAvailableFiles(std::vector<std::u16string>& list) {
    for (const std::u16string& folder : {ProgramFolder(), DataFolder()}) {
        for (const PL::FileEntry& e : PL::Current().ListFolder(folder, u"*" + extension_)) {
            if (!e.isFolder) list.push_back(WithoutExtension(e.name));
        }
    }
}

bool ObjectFileManagerBase::Resolve(const std::u16string& name, std::u16string& foundName, std::u16string& path,
                                    bool& inProgramFolder) const {
    const std::u16string fileName = name + extension_;
    const std::u16string dataFolder = DataFolder();
    foundName = name;
    path = JoinPath(dataFolder, fileName);
    inProgramFolder = false;
    if (!SafeName(name)) return false;
    const std::u16string folders[2] = {dataFolder, ProgramFolder()};
    for (int i = 0; i < 2; ++i) {
        // The folder listing compares without regard to letter case and
        // gives the name as it is on the device; an exact match is preferred
        // where the file system tells case apart.
        const PL::FileEntry* hit = nullptr;
        std::vector<PL::FileEntry> entries = PL::Current().ListFolder(folders[i], fileName);
        for (const PL::FileEntry& e : entries) {
            if (e.isFolder) continue;
            if (e.name == fileName) {
                hit = &e;
                break;
            }
            if (!hit) hit = &e;
        }
        if (hit) {
            path = JoinPath(folders[i], hit->name);
            foundName = WithoutExtension(hit->name);
            inProgramFolder = i == 1;
            return true;
        }
    }
    return true;
}

ObjectFileManager<UserObj>& UserObjectFiles() {
    static ObjectFileManager<UserObj> manager(u".puo");
    return manager;
}

ObjectFileManager<Comet>& CometFiles() {
    static ObjectFileManager<Comet> manager(u".pco");
    return manager;
}

}  // namespace Data
