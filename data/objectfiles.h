// User-object files (".puo": deep-sky and other fixed objects) and comet
// files (".pco": comets and asteroids by their orbital elements).
//
// Each file is a UTF-8 text in which every line, empty lines included, is
// one record of ";"-separated fields:
//     M 42;Bright nebula: Orion Nebula (NGC 1976);5h35m17.1s;-5°23'25";1;3;4.00;1344
//     1P/Halley;Periodic comet;0;1;2474041.6781;0;0.571135;0.968019;112.2465;59.3468;162.1805;5.5;8.0
// A file is one list of objects, known by its file name without extension.
// Two program-wide managers, one per file type, keep the loaded ("active")
// files, each in a store whose list positions are the numbers by which the
// object model refers to the objects.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/astrotime.h"
#include "engine/orbits.h"
#include "engine/vecmath.h"

namespace Data {

// --- records ---------------------------------------------------------------------------

// Reads the fields of one record line, one after the other:
//  - leading spaces of a field are skipped;
//  - a field that does not start with a double quote runs to the next ";"
//    or the end of the line, trailing spaces removed;
//  - a field that starts with a double quote runs to the next double quote
//    that is not doubled ("" inside stands for one "); anything after the
//    closing quote up to the next ";" is ignored;
//  - a line that ends with ";", or right after a quoted field, has one more,
//    empty, field.
class FieldReader {
public:
    // `line` must outlive the reader. A line that was cut because it was
    // too long is marked `cut`: a field that reaches the cut is refused.
    explicit FieldReader(const std::u16string& line, bool cut = false);
    FieldReader(std::u16string&&, bool = false) = delete;

    // The next field; false beyond the last one (or at the cut).
    bool Next(std::u16string& field);

    // The next field converted, or a DataFormatError "Invalid value for
    // {column}" when it is missing or does not convert.
    std::u16string Text(const char16_t* column);
    float Sexagesimal(const char16_t* column);          // hours or degrees
    float Number(const char16_t* column);               // a finite decimal number
    uint32_t Integer(const char16_t* column, uint32_t max);  // digits, spaces and tabs around
    Calc::AstroTime JulianDay(const char16_t* column);  // > 0 and <= 2e9
    void Skip(const char16_t* column);                  // present, value not used

private:
    const std::u16string& line_;
    size_t pos_ = 0;
    bool atEnd_ = false;
    bool cut_ = false;
};

// The column names, as the error messages show them.
namespace Column {
extern const char16_t kName[], kInfo[], kRA[], kDec[], kShow[], kSymbol[], kMagn[], kDist[];
extern const char16_t kTyp[], kJd[], kM[], kAQ[], kE[], kW[], kNode[], kI[], kH[], kG[];
}  // namespace Column

// One fixed object of a ".puo" file: Name;Info;RA;Dec;Show;Symbol;magn;dist.
struct UserObj {
    std::u16string name;
    std::u16string info;
    float ra = 0;   // hours, J2000
    float dec = 0;  // degrees, J2000
    uint8_t symbol = 0;   // picture in the "objects" icon strip
    float magnitude = 0;  // visual; -1000 for none
    float distance = 0;   // light years; 0 for unknown
    // The J2000 unit vector of (ra, dec), each component x 32767, truncated;
    // computed once when read. Positions use it, not ra and dec.
    int16_t x = 0, y = 0, z = 0;

    Calc::Vec3 Direction() const;
    void ComputeDirection();

    // Parses a record; DataFormatError with the failing column.
    static UserObj FromRecord(FieldReader& fields);
    // The record in file form (quoted where needed), without line end.
    std::u16string ToRecord() const;
};

// A comet or asteroid of a ".pco" file:
// Name;Info;Symbol;typ;jd;M;a/q;e;w;Node;i;H/H0;G/k. typ 0 gives asteroid
// elements (epoch of M, semi-major axis, H and G), typ 1 comet elements
// (perihelion time, perihelion distance, H0 and k).
struct Comet {
    std::u16string name;
    std::u16string info;
    uint8_t symbol = 0;  // picture in the "asteroidsComets" strip; 4 added for typ 1
    int32_t typ = 0;
    Calc::OrbitElements orbit;  // with P and Q prepared

    static Comet FromRecord(FieldReader& fields);
    std::u16string ToRecord() const;
};

// --- stores ------------------------------------------------------------------------------

// The list of objects of one file.
class ConfigObjStoreBase {
public:
    virtual ~ConfigObjStoreBase();
    virtual void Clear() = 0;
    // Parses one record and appends the object; a DataFormatError leaves the
    // list unchanged.
    virtual void AddFromLine(FieldReader& fields) = 0;
    // The record of object `index` in file form (empty for a bad index).
    virtual void WriteLine(size_t index, std::u16string& text) const = 0;
};

template <class T>
class ConfigObjStore : public ConfigObjStoreBase {
public:
    using Ptr = std::shared_ptr<T>;
    using List = std::vector<Ptr>;

    void Clear() override { list_.clear(); }
    void AddFromLine(FieldReader& fields) override {
        Ptr p = std::make_shared<T>(T::FromRecord(fields));
        list_.push_back(std::move(p));
    }
    void WriteLine(size_t index, std::u16string& text) const override {
        text = index < list_.size() ? list_[index]->ToRecord() : std::u16string();
    }

    const List& Objects() const { return list_; }
    List& Objects() { return list_; }
    size_t Size() const { return list_.size(); }

private:
    List list_;
};

// Reads a whole file into a store: an empty text on success, else the error
// message ("Error reading file {0}." or "Error in file {0} on line {1}: {2}").
// On failure the store holds what was read before the error.
std::u16string ReadObjectFile(const std::u16string& path, ConfigObjStoreBase& store);

// Lines longer than this many characters are cut; a field that reaches the
// cut is invalid.
constexpr size_t kMaxRecordChars = 1 << 20;

// --- managers ----------------------------------------------------------------------------

class ObjectFileManagerBase {
public:
    explicit ObjectFileManagerBase(std::u16string extension);
    virtual ~ObjectFileManagerBase();

    // Appends the names (without extension) of all files "*" + extension in
    // the program's folder, then those in the data folder; a name may come twice.
    virtual void ListAvailableFiles(std::vector<std::u16string>& list);

    const std::u16string& Extension() const { return extension_; }

    // The folders searched by every manager. Until set (program start-up),
    // the platform's program folder and its application-data folder joined
    // with "celvane".
    static void SetFolders(const std::u16string& programFolder, const std::u16string& dataFolder);
    static void UseDefaultFolders();
    static std::u16string ProgramFolder();
    static std::u16string DataFolder();
    // folder + name with one separator between (none added after \ or /).
    static std::u16string JoinPath(const std::u16string& folder, const std::u16string& name);

    // Where a name's file is: the data folder's file if it exists, else the
    // program folder's (inProgramFolder set), else the data folder's path of
    // a file that does not exist yet. The name becomes the found file's name
    // (the letter case on the device wins). False, with the path made but
    // nothing looked up, for a name that could leave the folders (separators,
    // wild cards, empty).
    bool Resolve(const std::u16string& name, std::u16string& foundName, std::u16string& path,
                 bool& inProgramFolder) const;

protected:
    std::u16string extension_;
};

template <class T>
class ObjectFileManager : public ObjectFileManagerBase {
public:
    using Store = ConfigObjStore<T>;

    struct ManagedStore {
        Store store;
        std::u16string name;  // the key, without extension
        std::u16string path;
        bool inProgramFolder = false;
    };

    using ObjectFileManagerBase::ObjectFileManagerBase;

    // Appends the names of the loaded files, in map order.
    virtual void ListLoadedFiles(std::vector<std::u16string>& list) {
        for (const auto& kv : stores_) list.push_back(kv.first);
    }

    // Loads a file: nothing when it is loaded and force is false. A failure
    // returns the error text and leaves an already loaded list as it was;
    // success replaces a loaded list in place (the store object stays) or
    // enters a new store, and returns an empty text.
    virtual std::u16string Load(const std::u16string& name, bool force) {
        if (!force && stores_.count(name)) return std::u16string();
        auto fresh = std::make_unique<ManagedStore>();
        const bool safe = Resolve(name, fresh->name, fresh->path, fresh->inProgramFolder);
        auto loaded = stores_.find(fresh->name);
        if (!force && loaded != stores_.end()) return std::u16string();
        if (!safe) return UnreadableFile(fresh->path);
        std::u16string error = ReadObjectFile(fresh->path, fresh->store);
        if (!error.empty()) return error;
        if (loaded != stores_.end()) {
            ManagedStore& old = *loaded->second;
            old.store.Objects().swap(fresh->store.Objects());
            old.path = fresh->path;
            old.inProgramFolder = fresh->inProgramFolder;
        } else {
            const std::u16string key = fresh->name;
            stores_.emplace(key, std::move(fresh));
        }
        return std::u16string();
    }

    // Enters an empty store for a name that is not loaded.
    virtual void AddEmpty(const std::u16string& name) {
        if (stores_.count(name)) return;
        auto fresh = std::make_unique<ManagedStore>();
        Resolve(name, fresh->name, fresh->path, fresh->inProgramFolder);
        if (stores_.count(fresh->name)) return;
        const std::u16string key = fresh->name;
        stores_.emplace(key, std::move(fresh));
    }

    virtual void Unload(const std::u16string& name) { stores_.erase(name); }
    virtual void UnloadAll() { stores_.clear(); }

    // The list of a loaded file; an empty list for a name that is not loaded.
    const typename Store::List& FindStore(const std::u16string& name) const {
        static const typename Store::List kEmpty;
        auto it = stores_.find(name);
        return it == stores_.end() ? kEmpty : it->second->store.Objects();
    }
    // The managed store of a loaded file, or nullptr.
    const ManagedStore* FindManaged(const std::u16string& name) const {
        auto it = stores_.find(name);
        return it == stores_.end() ? nullptr : it->second.get();
    }
    bool IsLoaded(const std::u16string& name) const { return stores_.count(name) != 0; }

private:
    static std::u16string UnreadableFile(const std::u16string& path);

    std::map<std::u16string, std::unique_ptr<ManagedStore>> stores_;
};

// "Error reading file {0}." for a path.
std::u16string ReadErrorText(const std::u16string& path);

template <class T>
std::u16string ObjectFileManager<T>::UnreadableFile(const std::u16string& path) {
    return ReadErrorText(path);
}

// The two program-wide managers: user objects (".puo") and comets and
// asteroids (".pco"). Made on first use, they live until the program ends.
ObjectFileManager<UserObj>& UserObjectFiles();
ObjectFileManager<Comet>& CometFiles();

}  // namespace Data
