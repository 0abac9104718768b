// The object info dialog: everything the program computes about one object,
// as a scrolled page of labelled rows — name, place and time, the position in
// four coordinate systems, magnitude and distance, then what belongs to the
// kind of object (phase, sizes, central meridians, Jupiter's moons, Saturn's
// rings, seasons, Moon phases) and the rise, transit and set times of four
// days. A family of writers, one per kind of object, fills the page.
#pragma once

#include "data/messages.h"
#include "data/objects.h"
#include "engine/ephemeris.h"
#include "layout/items.h"
#include "layout/table_control.h"
#include "skymap/map_bitmap.h"
#include "winlib/titled_dialog.h"

#include <memory>
#include <string>
#include <vector>

namespace UI {
namespace ObjInfo {

// Ids of the page's clickable items.
enum ClickId : int {
    kClickName = 2001,
    kClickPlace = 2002,
    kClickTime = 2003,
    kClickRiseSetPrev = 2004,
    kClickRiseSetNext = 2005,
    kClickListPrev = 2006,  // the Sun's seasons, the Moon's phases
    kClickListNext = 2007,
};

// Row limits of the page table.
constexpr int kMaxRows = 100;
constexpr int kColumns = 4;
// Kilometres per astronomical unit.
constexpr double kKmPerAu = 149597872.0;
// Paging steps and start offsets (seconds).
constexpr int32_t kRiseSetStart = -86400;
constexpr int32_t kDay = 86400;
constexpr int32_t kSunPageStep = 31536000;   // 365 days
constexpr int32_t kMoonPageStep = 2419200;   // 28 days

// The texts of the hour-angle row for an hour angle in [0, 24): the side
// form ("5h30m W", "11h00m E") and, from 12 h on, the hour angle itself.
void HourAngleTexts(double hours, std::u16string& first, std::u16string& second);
// The magnitude text: "m" and the magnitude to 0.01 for stars, to 0.1
// otherwise; "--" for none (-1000).
std::u16string MagnitudeText(float magnitude, bool star);

// What a writer needs besides its object: the program's ephemeris and the
// dialog's units.
struct WriterContext {
    Calc::Ephemeris* ephemeris = nullptr;
    double unitX = 1.5;  // pixels per horizontal dialog unit
    double unitY = 1.625;  // pixels per vertical dialog unit
    bool magnetic = false;  // azimuths shown magnetic
};

// What a tap did.
enum class ClickResult { kNothing, kRewrite, kShowObject };

// A Jupiter's-moons picture's geometry, for drawing and for tests: the centre,
// the pixels per Jupiter radius, and where each moon is drawn.
struct JupiterPictureGeometry {
    int width = 0, height = 0;
    int centreX = 0, centreY = 0;
    double pixelsPerRadius = 0;
    int moonX[4] = {}, moonY[4] = {};
    bool moonHidden[4] = {};  // behind the disc
};
JupiterPictureGeometry JupiterGeometry(int width, int height, const float x[4], const float y[4],
                                       const bool inFront[4]);

class ObjInfoWriterBase {
public:
    ObjInfoWriterBase(const Data::AstroObjRef& object, const WriterContext& context);
    virtual ~ObjInfoWriterBase();
    ObjInfoWriterBase(const ObjInfoWriterBase&) = delete;
    ObjInfoWriterBase& operator=(const ObjInfoWriterBase&) = delete;

    // Fills the table anew for the displayed moment.
    virtual void Write(HDC dc);
    // An item of the page was tapped. kShowObject puts the object to show
    // into `chosen`.
    virtual ClickResult OnClick(int id, HWND owner, Data::AstroObjRef& chosen);

    Layout::TableLayoutManager& Table() { return *table_; }
    const Data::AstroObjRef& Object() const { return object_; }
    int32_t RiseSetOffset() const { return riseSetOffset_; }
    int RowCount() const { return row_; }
    void SetContext(const WriterContext& context) { context_ = context; }

    // The text of a cell of the page (tests): empty for none or a picture.
    std::u16string CellText(int row, int column) const;
    // The row whose first column reads `label`, from row `from` on; -1 if none.
    int FindRow(const std::u16string& label, int from = 0) const;
    // The pictures made by the last Write (phase disc, Moon, Jupiter, Saturn).
    const std::vector<std::unique_ptr<SkyMap::MapBitmap>>& Pictures() const { return pictures_; }
    // The Rise/Set sub-table of the last Write.
    Layout::TableLayoutManager* RiseSetTable() const { return riseSetTable_; }

protected:
    // --- building blocks ---
    Calc::Ephemeris& Eph() { return *context_.ephemeris; }
    const Calc::BodyInfo& Info() const { return info_; }
    int Dx(double units) const;  // horizontal dialog units in pixels
    int Dy(double units) const;
    int LineHeight() const;

    // A row of a label and up to two values.
    void Row(const std::u16string& label, const std::u16string& value, const std::u16string& second = std::u16string());
    // An item across the label and value columns of a new row.
    void SpanRow(Layout::ILayoutItem* item);
    void Section(const std::u16string& heading);
    void PagedSection(const std::u16string& heading, int prevId, int nextId);
    Layout::TextItem* Text(const std::u16string& text, bool bold = false);

    void WriteCommon();
    void DistToSun(float au);
    void AngularSize(float arcsec);
    // An ellipse's axes, "a x b" (the minor axis may come signed).
    void AngularSize2(const Data::Message& label, const Calc::DiscSize& size);
    // An azimuth as the page shows it: magnetic (0..360) when asked for.
    float ShownAzimuth(float azimuth) const;
    void Elongation();
    void PhaseRows();
    void Illuminated();
    // Elongation, phase and illuminated with the phase disc beside them.
    void PhasePictureGroup();
    void RiseSet();
    // A picture for the page: kept until the next Write.
    SkyMap::MapBitmap* NewPicture(int width, int height);
    Layout::ILayoutItem* PictureItem(SkyMap::MapBitmap* picture);

    Data::AstroObjRef object_;
    WriterContext context_;
    std::unique_ptr<Layout::TableLayoutManager> table_;
    int row_ = 0;
    int32_t riseSetOffset_ = kRiseSetStart;
    Calc::BodyInfo info_;
    std::vector<std::unique_ptr<SkyMap::MapBitmap>> pictures_;
    Layout::TableLayoutManager* riseSetTable_ = nullptr;
};

// A writer with a paged list of twelve events beside the common rows: the
// Sun's seasons or the Moon's phases, a page step apart.
class ObjInfoWriterEventPages : public ObjInfoWriterBase {
public:
    ObjInfoWriterEventPages(const Data::AstroObjRef& object, const WriterContext& context, bool seasons)
        : ObjInfoWriterBase(object, context), seasons_(seasons), pageOffset_(-Step()) {}
    ClickResult OnClick(int id, HWND owner, Data::AstroObjRef& chosen) override;
    int32_t PageOffset() const { return pageOffset_; }

protected:
    // The paged section and the events of the page from its start.
    void EventPage();

private:
    int32_t Step() const { return seasons_ ? kSunPageStep : kMoonPageStep; }

    bool seasons_;
    int32_t pageOffset_;
};

class ObjInfoWriterSun : public ObjInfoWriterEventPages {
public:
    ObjInfoWriterSun(const Data::AstroObjRef& object, const WriterContext& context)
        : ObjInfoWriterEventPages(object, context, true) {}
    void Write(HDC dc) override;
};

class ObjInfoWriterMoon : public ObjInfoWriterEventPages {
public:
    ObjInfoWriterMoon(const Data::AstroObjRef& object, const WriterContext& context)
        : ObjInfoWriterEventPages(object, context, false) {}
    void Write(HDC dc) override;
};

class ObjInfoWriterMercury : public ObjInfoWriterBase {
public:
    using ObjInfoWriterBase::ObjInfoWriterBase;
    void Write(HDC dc) override;
};

class ObjInfoWriterVenus : public ObjInfoWriterMercury {
public:
    using ObjInfoWriterMercury::ObjInfoWriterMercury;
};

class ObjInfoWriterMars : public ObjInfoWriterBase {
public:
    using ObjInfoWriterBase::ObjInfoWriterBase;
    void Write(HDC dc) override;
};

class ObjInfoWriterJupiter : public ObjInfoWriterBase {
public:
    using ObjInfoWriterBase::ObjInfoWriterBase;
    void Write(HDC dc) override;
    // The geometry of the last picture.
    const JupiterPictureGeometry& Geometry() const { return geometry_; }

private:
    JupiterPictureGeometry geometry_;
};

class ObjInfoWriterSaturn : public ObjInfoWriterBase {
public:
    using ObjInfoWriterBase::ObjInfoWriterBase;
    void Write(HDC dc) override;
};

class ObjInfoWriterUNP : public ObjInfoWriterBase {
public:
    using ObjInfoWriterBase::ObjInfoWriterBase;
    void Write(HDC dc) override;
};

class ObjInfoWriterComet : public ObjInfoWriterBase {
public:
    using ObjInfoWriterBase::ObjInfoWriterBase;
    void Write(HDC dc) override;
};

class ObjInfoWriterStar : public ObjInfoWriterBase {
public:
    using ObjInfoWriterBase::ObjInfoWriterBase;
    void Write(HDC dc) override;
};

// The writer for an object (the Sun's for anything without one of its own);
// `shown` receives the object that is shown.
std::unique_ptr<ObjInfoWriterBase> MakeWriter(const Data::AstroObjRef& object, const WriterContext& context,
                                              Data::AstroObjRef& shown);

}  // namespace ObjInfo

class ObjInfoDialog : public TitledDialog {
public:
    // Sent to the dialog (any time) when the displayed time changed.
    static constexpr UINT kTimeChangedMessage = WM_APP + 0x7D0;
    static constexpr UINT_PTR kClockTimer = 1;

    explicit ObjInfoDialog(const Data::AstroObjRef& object);
    ~ObjInfoDialog() override;

    // Shows another object: a new writer, a new page.
    void ShowObject(const Data::AstroObjRef& object);
    // Writes the page again (the time changed).
    void Rewrite();

    const Data::AstroObjRef& Shown() const { return shown_; }
    ObjInfo::ObjInfoWriterBase* Writer() const { return writer_.get(); }
    Layout::TableControl& Page() { return page_; }
    double UnitX() const { return unitX_; }
    double UnitY() const { return unitY_; }

    // The dialog for an object, modal.
    static INT_PTR Run(HWND owner, const Data::AstroObjRef& object);

    void OnCreate() override;
    void OnDestroy() override;
    void HandleMessage(mwcl::MessageRecord& m) override;
    void OnCommand(mwcl::MessageRecord& m) override;

    // Handles a tap on a page item now (the dialog defers taps to a posted
    // message so that the page is never rebuilt under the tap).
    void Click(int id);

private:
    void MeasureUnits();
    void LayOut();
    void ArmClock(bool fromTimer);
    ObjInfo::WriterContext Context() const;

    Data::AstroObjRef requested_;
    Data::AstroObjRef shown_;
    std::unique_ptr<ObjInfo::ObjInfoWriterBase> writer_;
    Layout::TableControl page_;
    double unitX_ = 1.5, unitY_ = 1.625;
    int32_t lastMinute_ = -1;
};

}  // namespace UI
