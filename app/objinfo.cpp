#include "app/objinfo.h"

#include "app/astroobj_choose.h"
#include "app/base_window.h"
#include "app/resume_notifier.h"
#include "app/shell.h"
#include "data/messages.h"
#include "data/numtext.h"
#include "data/objectnames.h"
#include "data/platform.h"
#include "data/starcatalog.h"
#include "engine/events.h"
#include "engine/magnetic.h"
#include "engine/physical.h"
#include "settings/preferences.h"
#include "skymap/moon_picture.h"
#include "winlib/ui_style.h"
#include "winlib/wstr.h"

#include <algorithm>
#include <cmath>

namespace UI {
namespace ObjInfo {

namespace {

using Data::Message;
using Data::MessageText;

const Message kMsgLocation{{0x409, u"Location"}, {0x407, u"Ort"}};
const Message kMsgTime{{0x409, u"Time"}, {0x407, u"Zeit"}};
const Message kMsgPosition{{0x409, u"Position"}, {0x407, u"Position"}};
const Message kMsgConstellation{{0x409, u"Constellation"}, {0x407, u"Konstellation"}};
const Message kMsgRaDec{{0x409, u"RA./dec."}, {0x407, u"RA./dekl."}};
const Message kMsgHourAngle{{0x409, u"Hour Angle"}, {0x407, u"Std.winkel"}};
const Message kMsgEclLonLat{{0x409, u"Ecl. Lon/Lat"}, {0x407, u"Ekl. Lg/Br"}};
const Message kMsgAzAlt{{0x409, u"Az/Alt"}, {0x407, u"Az/H\u00f6he"}};
const Message kMsgAzMAlt{{0x409, u"AzM/Alt"}, {0x407, u"AzM/H\u00f6he"}};
const Message kMsgMagnitude{{0x409, u"Magnitude"}, {0x407, u"Helligkeit"}};
const Message kMsgDistance{{0x409, u"Distance"}, {0x407, u"Entfernung"}};
const Message kMsgDistLight{{0x409, u"Dist./Light t."}, {0x407, u"Entf./Lichtzeit"}};
const Message kMsgDistToSun{{0x409, u"Dist. to Sun"}, {0x407, u"Entf. z. Sonne"}};
const Message kMsgAngularSize{{0x409, u"Angular Size"}, {0x407, u"Durchmesser"}};
const Message kMsgElongation{{0x409, u"Elongation"}, {0x407, u"Elongation"}};
const Message kMsgPhase{{0x409, u"Phase"}, {0x407, u"Phase"}};
const Message kMsgIlluminated{{0x409, u"Illuminated"}, {0x407, u"Beleuchtet"}};
const Message kMsgAge{{0x409, u"Age"}, {0x407, u"Alter"}};
const Message kMsgColongitude{{0x409, u"Colongitude"}, {0x407, u"Colongitude"}};
const Message kMsgWaxing{{0x409, u"waxing"}, {0x407, u"zunehmend"}};
const Message kMsgWaning{{0x409, u"waning"}, {0x407, u"abnehmend"}};
const Message kMsgMoonPhases{{0x409, u"Moon phases"}, {0x407, u"Mondphasen"}};
const Message kMsgSeasons{{0x409, u"Seasons"}, {0x407, u"Jahreszeiten"}};
const Message kMsgCentMer{{0x409, u"Cent. Mer."}, {0x407, u"Zent. Mer."}};
const Message kMsgCentMer12{{0x409, u"Cent. Mer. I,II"}, {0x407, u"Zent. Mer. I,II"}};
const Message kMsgJupiterMoons{{0x409, u"Jupiter Moons"}, {0x407, u"Jupiter Monde"}};
const Message kMsgAngSizeRing{{0x409, u"Ang. Size Ring"}, {0x407, u"Durchm. Ring"}};
const Message kMsgRingIncl{{0x409, u"Ring incl."}, {0x407, u"Ring-Inkl."}};
const Message kMsgSaturnRings{{0x409, u"Saturn Rings"}, {0x407, u"Saturn Ringe"}};
const Message kMsgRiseSet{{0x409, u"Rise/Set"}, {0x407, u"Auf-/Unterg."}};
const Message kMsgPrev{{0x409, u"<<prev"}, {0x407, u"<<vorh."}};
const Message kMsgNext{{0x409, u"next>>"}, {0x407, u"n\u00e4chste>>"}};
const Message kMsgRise{{0x409, u"Rise"}, {0x407, u"Aufg."}};
const Message kMsgTransit{{0x409, u"Transit"}, {0x407, u"Durchg."}};
const Message kMsgSet{{0x409, u"Set"}, {0x407, u"Unterg."}};
const Message kMsgAz{{0x409, u"Az."}, {0x407, u"Az."}};
const Message kMsgAzM{{0x409, u"AzM"}, {0x407, u"AzM"}};
const Message kMsgAlt{{0x409, u"Alt."}, {0x407, u"H\u00f6he"}};
const Message kMsgEast{{0x409, u"E"}, {0x407, u"O"}};
const Message kMsgWest{{0x409, u"W"}, {0x407, u"W"}};
const Message kMsgSeasonNames[4] = {
    {{0x409, u"March Equinox"}, {0x407, u"M\u00e4rz \u00c4quinokt."}},
    {{0x409, u"June Solstice"}, {0x407, u"Juni Solstitium"}},
    {{0x409, u"Sept Equinox"}, {0x407, u"Sept \u00c4quinokt."}},
    {{0x409, u"Dec Solstice"}, {0x407, u"Dez Solstitium"}},
};
const Message kMsgPhaseNames[4] = {
    {{0x409, u"New Moon"}, {0x407, u"Neumond"}},
    {{0x409, u"First quarter"}, {0x407, u"Erstes Viertel"}},
    {{0x409, u"Full Moon"}, {0x407, u"Vollmond"}},
    {{0x409, u"Last quarter"}, {0x407, u"Letztes Viertel"}},
};

// Jupiter's colour in its picture.
constexpr COLORREF kJupiterColour = RGB(210, 156, 132);
// Half the Jupiter picture's width per Jupiter radius.
constexpr double kJupiterScale = 0.035185184;
// The width of the Jupiter and Saturn pictures, horizontal dialog units.
constexpr double kPlanetPictureUnits = 130.0;

std::u16string Degree(int32_t d) { return Data::FormatInt(d) + u"\u00b0"; }

std::u16string DateTime(Calc::AstroTime local) { return Data::FormatDate(local) + u" " + Data::FormatTime(local); }

std::u16string PlaceText(const Calc::Place& place) {
    if (!place.name.empty()) return place.name;
    return Data::FormatLatitude(place.latitude) + u", " + Data::FormatLongitude(place.longitude);
}

// The image lists of the object icons in the window text colour, made once.
HIMAGELIST IconList(int list) {
    static HIMAGELIST lists[3] = {};
    static const char16_t* const names[3] = {u"planets", u"asteroidsComets", u"objects"};
    if (list < 0 || list > 2) list = 0;
    if (!lists[list]) lists[list] = CreateMonochromeImageList(names[list], TextColor(), kTransparent);
    return lists[list];
}

// The normal font without smoothing, for text drawn onto pictures with a
// see-through colour: smoothed edges would carry that colour's tint.
HFONT PictureFont() {
    static HFONT font = nullptr;
    if (!font) {
        LOGFONTW lf{};
        if (GetObjectW(NormalFont(), sizeof lf, &lf)) {
            lf.lfQuality = NONANTIALIASED_QUALITY;
            font = CreateFontIndirectW(&lf);
        }
        if (!font) font = NormalFont();
    }
    return font;
}

}  // namespace

void HourAngleTexts(double hours, std::u16string& first, std::u16string& second) {
    const std::u16string space = u" ";
    if (hours < 12) {
        first = Data::FormatRightAscension(hours) + space + MessageText(kMsgWest);
        second.clear();
    } else {
        first = Data::FormatRightAscension(24 - hours) + space + MessageText(kMsgEast);
        second = Data::FormatRightAscension(hours);
    }
}

std::u16string MagnitudeText(float magnitude, bool star) {
    if (magnitude <= -1000.0f || !std::isfinite(magnitude)) return u"--";
    return u"m" + Data::FormatResolution(magnitude, star ? 0.01 : 0.1);
}

JupiterPictureGeometry JupiterGeometry(int width, int height, const float x[4], const float y[4],
                                       const bool inFront[4]) {
    JupiterPictureGeometry g;
    g.width = width;
    g.height = height;
    g.centreX = width / 2;
    g.centreY = height / 2;
    g.pixelsPerRadius = kJupiterScale * (width / 2.0);
    for (int i = 0; i < 4; ++i) {
        // X grows towards the west, which is on the right with north up.
        g.moonX[i] = g.centreX + static_cast<int>(std::lround(x[i] * g.pixelsPerRadius));
        g.moonY[i] = g.centreY - static_cast<int>(std::lround(y[i] * g.pixelsPerRadius));
        g.moonHidden[i] = !inFront[i] && x[i] * x[i] + y[i] * y[i] < 1.0f;
    }
    return g;
}

// --- the base writer ----------------------------------------------------------------------------

ObjInfoWriterBase::ObjInfoWriterBase(const Data::AstroObjRef& object, const WriterContext& context)
    : object_(object), context_(context), table_(std::make_unique<Layout::TableLayoutManager>(kMaxRows, kColumns, true)) {}

ObjInfoWriterBase::~ObjInfoWriterBase() = default;

int ObjInfoWriterBase::Dx(double units) const { return static_cast<int>(units * context_.unitX + 0.5); }
int ObjInfoWriterBase::Dy(double units) const { return static_cast<int>(units * context_.unitY + 0.5); }
int ObjInfoWriterBase::LineHeight() const { return UI::LineHeight(); }

Layout::TextItem* ObjInfoWriterBase::Text(const std::u16string& text, bool bold) {
    return new Layout::TextItem(text, bold ? BoldFont() : NormalFont(), TextColor());
}

void ObjInfoWriterBase::Row(const std::u16string& label, const std::u16string& value, const std::u16string& second) {
    if (row_ >= kMaxRows) return;
    table_->SetItem(row_, 0, Text(label));
    if (!value.empty()) table_->SetItem(row_, 1, Text(value));
    if (!second.empty()) table_->SetItem(row_, 2, Text(second));
    ++row_;
}

void ObjInfoWriterBase::SpanRow(Layout::ILayoutItem* item) {
    if (row_ >= kMaxRows) {
        delete item;
        return;
    }
    table_->SetItem(row_, 0, item, 1, 3);
    ++row_;
}

void ObjInfoWriterBase::Section(const std::u16string& heading) {
    if (row_ + 2 > kMaxRows) return;
    table_->SetRowMargins(row_, Dy(4), 0);
    SpanRow(Text(heading, true));
    SpanRow(new ObjInfo::SeparatorLineItem(1, kDefaultColor));
}

void ObjInfoWriterBase::PagedSection(const std::u16string& heading, int prevId, int nextId) {
    if (row_ + 2 > kMaxRows) return;
    auto* head = new Layout::TableLayoutManager(1, 3, true);
    head->SetItem(0, 0, Text(heading, true));
    head->SetColumnMargins(0, 0, Dx(8));
    head->SetColumnMargins(1, 0, Dx(6));
    head->SetItem(0, 1, new Layout::ClickableTextItem(prevId, MessageText(kMsgPrev), NormalFont(), LinkColor()));
    head->SetItem(0, 2, new Layout::ClickableTextItem(nextId, MessageText(kMsgNext), NormalFont(), LinkColor()));
    table_->SetRowMargins(row_, Dy(4), 0);
    SpanRow(head);
    SpanRow(new ObjInfo::SeparatorLineItem(1, kDefaultColor));
}

void ObjInfoWriterBase::Write(HDC) {
    table_->Reset(kMaxRows, kColumns, true);
    row_ = 0;
    riseSetTable_ = nullptr;
    pictures_.clear();
    for (int c = 0; c < 3; ++c) table_->SetColumnMargins(c, 0, Dx(4));
    info_ = Data::ObjectInfo(object_, Eph());
    WriteCommon();
}

void ObjInfoWriterBase::WriteCommon() {
    Calc::Ephemeris& eph = Eph();
    // 1: icon and name (a tap searches another object); 2: the second line.
    const Data::ObjectIconRef icon = Data::ObjectIcon(object_);
    table_->SetItem(row_, 0, new MonochromeImageListItem(IconList(icon.list), icon.image));
    table_->SetItem(row_, 1,
                    new Layout::ClickableTextItem(kClickName, Data::ObjectName(object_), BoldFont(), TextColor()), 1, 2);
    ++row_;
    const std::u16string subtitle = Data::ObjectSubtitle(object_);
    if (!subtitle.empty()) {
        table_->SetItem(row_, 1, Text(subtitle), 1, 2);
        ++row_;
    }
    // 3, 4: place and time, each opening its dialog.
    table_->SetItem(row_, 0, Text(MessageText(kMsgLocation)));
    table_->SetItem(row_, 1, new Layout::ClickableTextItem(kClickPlace, PlaceText(eph.place), NormalFont(), LinkColor()),
                    1, 2);
    ++row_;
    table_->SetItem(row_, 0, Text(MessageText(kMsgTime)));
    table_->SetItem(row_, 1, new Layout::ClickableTextItem(kClickTime, DateTime(eph.LocalTime()), NormalFont(), LinkColor()),
                    1, 2);
    ++row_;

    Section(MessageText(kMsgPosition));
    Row(MessageText(kMsgConstellation), Data::ConstellationLatinName(info_.constellation));
    Row(MessageText(kMsgRaDec), Data::FormatRightAscension(info_.ra), Data::FormatDegrees(info_.dec));
    std::u16string ha1, ha2;
    HourAngleTexts(info_.hourAngle, ha1, ha2);
    Row(MessageText(kMsgHourAngle), ha1, ha2);
    Row(MessageText(kMsgEclLonLat), Data::FormatDegrees(info_.eclipticLon), Data::FormatDegrees(info_.eclipticLat));
    Row(MessageText(context_.magnetic ? kMsgAzMAlt : kMsgAzAlt), Data::FormatDegrees(ShownAzimuth(info_.azimuth)),
        Data::FormatDegrees(info_.altitude));

    const bool star = object_.kind == Data::kObjStar;
    std::u16string spectral;
    if (star) spectral = Data::ReadStar(object_.number).spectral;
    Row(MessageText(kMsgMagnitude), MagnitudeText(Data::ObjectMagnitude(object_, eph), star), spectral);

    const double km = double(Data::ObjectDistance(object_, eph)) * kKmPerAu;
    if (km <= 0) {
        Row(MessageText(kMsgDistance), u"--");
    } else {
        const std::u16string light = Data::FormatLightTime(km);
        if (light.empty())
            Row(MessageText(kMsgDistance), Data::FormatDistance(km));
        else
            Row(MessageText(kMsgDistLight), Data::FormatDistance(km), light);
    }
}

float ObjInfoWriterBase::ShownAzimuth(float azimuth) const {
    return context_.magnetic ? Calc::Reduce(ProgramMagneticModel().MagneticAzimuth(azimuth), 360.0f) : azimuth;
}

void ObjInfoWriterBase::DistToSun(float au) { Row(MessageText(kMsgDistToSun), Data::FormatDistance(au * kKmPerAu)); }

void ObjInfoWriterBase::AngularSize(float arcsec) {
    Row(MessageText(kMsgAngularSize), Data::FormatDegreesAuto(arcsec / 3600.0));
}

void ObjInfoWriterBase::AngularSize2(const Message& label, const Calc::DiscSize& size) {
    Row(MessageText(label),
        Data::FormatDegreesAuto(size.major / 3600.0) + u" x " + Data::FormatDegreesAuto(std::fabs(size.minor) / 3600.0));
}

void ObjInfoWriterBase::Elongation() {
    const float e = info_.elongation;
    Row(MessageText(kMsgElongation), Data::FormatDegrees(std::fabs(e)) + u" " + MessageText(e < 0 ? kMsgEast : kMsgWest));
}

void ObjInfoWriterBase::PhaseRows() {
    Elongation();
    Row(MessageText(kMsgPhase), Data::FormatDegrees(info_.phaseAngle));
}

void ObjInfoWriterBase::Illuminated() {
    PhaseRows();
    Row(MessageText(kMsgIlluminated), Data::FormatResolution(info_.illuminated, 0.1) + u"%");
}

SkyMap::MapBitmap* ObjInfoWriterBase::NewPicture(int width, int height) {
    pictures_.push_back(std::make_unique<SkyMap::MapBitmap>(std::max(width, 1), std::max(height, 1), Layout::kMagenta));
    return pictures_.back().get();
}

Layout::ILayoutItem* ObjInfoWriterBase::PictureItem(SkyMap::MapBitmap* picture) {
    if (!picture->Valid()) return Layout::BitmapItem::FromBitmap(nullptr, false);
    GdiFlush();
    return new Layout::BitmapItem(picture->Context(), false, Layout::kMagenta);
}

void ObjInfoWriterBase::PhasePictureGroup() {
    const int first = row_;
    Illuminated();
    const int rows = row_ - first;
    const int side = rows * LineHeight();
    SkyMap::MapBitmap* picture = NewPicture(side, side);
    SkyMap::MoonShape shape;
    shape.radius = side / 2 - 1;
    shape.phaseAngle = info_.skyPhaseAngle;
    shape.brightLimb = info_.sunDirection;
    SkyMap::RenderMoon(*picture, shape, false);
    table_->SetItem(first, 2, PictureItem(picture), rows, 1);
}

void ObjInfoWriterBase::RiseSet() {
    PagedSection(MessageText(kMsgRiseSet), kClickRiseSetPrev, kClickRiseSetNext);
    if (row_ >= kMaxRows) return;
    Calc::Ephemeris& eph = Eph();
    auto* sub = new Layout::TableLayoutManager(13, 5, true);
    for (int c = 0; c < 5; ++c) sub->SetColumnMargins(c, 0, Dx(3));
    riseSetTable_ = sub;
    Calc::RiseSetSearch search(eph.place, eph.summerMode);
    search.SetObject(object_);
    const bool magnetic = context_.magnetic;
    int r = 0;
    bool nowMarked = false;
    for (int day = 0; day < 4; ++day) {
        search.SetMoment(Calc::AddSeconds(eph.moment, riseSetOffset_ + day * kDay));
        const Calc::RiseSetEvent events[3] = {search.StandardRise(), search.Transit(), search.StandardSet()};
        const Message* labels[3] = {&kMsgRise, &kMsgTransit, &kMsgSet};
        for (int k = 0; k < 3; ++k) {
            const Calc::RiseSetEvent& e = events[k];
            if (e.found && !nowMarked && Calc::Compare(e.ut, eph.moment) > 0) {
                sub->SetItem(r++, 0, new ObjInfo::SeparatorLineItem(1, kDefaultColor), 1, 5);
                nowMarked = true;
            }
            sub->SetItem(r, 0, Text(MessageText(*labels[k])));
            if (e.found) {
                sub->SetItem(r, 1, Text(Data::FormatDate(e.local)));
                sub->SetItem(r, 2, Text(Data::FormatTime(e.local)));
                if (k == 1) {
                    sub->SetItem(r, 3, Text(MessageText(kMsgAlt)));
                    sub->SetItem(r, 4, Text(Data::FormatDegrees(e.altitude)));
                } else {
                    sub->SetItem(r, 3, Text(MessageText(magnetic ? kMsgAzM : kMsgAz)));
                    sub->SetItem(r, 4, Text(Data::FormatDegrees(ShownAzimuth(e.azimuth))));
                }
            }
            ++r;
        }
    }
    SpanRow(sub);
}

ClickResult ObjInfoWriterBase::OnClick(int id, HWND owner, Data::AstroObjRef& chosen) {
    switch (id) {
    case kClickName: {
        Data::AstroObjRef o = object_;
        if (ChooseAstroObject(owner, o, false)) {
            chosen = o;
            return ClickResult::kShowObject;
        }
        return ClickResult::kNothing;
    }
    case kClickPlace: {
        SettingsDialogs& d = Dialogs();
        if (!d.location || !d.location(owner)) return ClickResult::kNothing;
        ApplyPreferences();
        return ClickResult::kRewrite;
    }
    case kClickTime: {
        SettingsDialogs& d = Dialogs();
        if (!d.displayTime) return ClickResult::kNothing;
        Data::Preferences& prefs = Data::Preferences::Instance();
        Data::TimeSettings time = prefs.time;
        if (!d.displayTime(owner, time)) return ClickResult::kNothing;
        prefs.time = time;
        ApplyPreferences();
        return ClickResult::kRewrite;
    }
    case kClickRiseSetPrev:
        riseSetOffset_ -= kDay;
        return ClickResult::kRewrite;
    case kClickRiseSetNext:
        riseSetOffset_ += kDay;
        return ClickResult::kRewrite;
    default:
        return ClickResult::kNothing;
    }
}

std::u16string ObjInfoWriterBase::CellText(int row, int column) const {
    if (row < 0 || row >= table_->RowCount() || column < 0 || column >= table_->ColumnCount()) return std::u16string();
    const Layout::TableLayoutManager::Cell& cell = table_->CellAt(row, column);
    if (cell.firstRow != row || cell.firstColumn != column) return std::u16string();
    if (auto* t = dynamic_cast<Layout::TextItem*>(cell.item)) return t->Text();
    if (auto* sub = dynamic_cast<Layout::TableLayoutManager*>(cell.item)) {
        // A paged heading: its heading text.
        if (sub->RowCount() == 1) {
            if (auto* t = dynamic_cast<Layout::TextItem*>(sub->GetItem(0, 0))) return t->Text();
        }
    }
    return std::u16string();
}

int ObjInfoWriterBase::FindRow(const std::u16string& label, int from) const {
    for (int r = std::max(from, 0); r < row_; ++r) {
        if (CellText(r, 0) == label) return r;
    }
    return -1;
}

// --- the writers of each kind ----------------------------------------------------------------------

void ObjInfoWriterEventPages::EventPage() {
    PagedSection(MessageText(seasons_ ? kMsgSeasons : kMsgMoonPhases), kClickListPrev, kClickListNext);
    Calc::Ephemeris& eph = Eph();
    const Calc::AstroTime start = Calc::AddSeconds(eph.moment, pageOffset_);
    Calc::SeasonIterator seasonIt;
    Calc::MoonPhaseIterator phaseIt;
    Calc::EventIterator& it = seasons_ ? static_cast<Calc::EventIterator&>(seasonIt) : phaseIt;
    it.Start(start);
    while (Calc::Compare(it.Moment(), start) > 0) it.Previous();
    while (Calc::Compare(it.Moment(), start) < 0) it.Next();
    auto* sub = new Layout::TableLayoutManager(13, 3, true);
    for (int c = 0; c < 3; ++c) sub->SetColumnMargins(c, 0, Dx(3));
    bool nowMarked = false;
    int r = 0;
    for (int i = 0; i < 12; ++i, it.Next()) {
        const Calc::AstroTime ut = it.Moment();
        if (!nowMarked && Calc::Compare(ut, eph.moment) > 0) {
            sub->SetItem(r++, 0, new ObjInfo::SeparatorLineItem(1, kDefaultColor), 1, 3);
            nowMarked = true;
        }
        const Calc::AstroTime local = eph.LocalTime(ut);
        sub->SetItem(r, 0, Text(MessageText(seasons_ ? kMsgSeasonNames[it.Phase()] : kMsgPhaseNames[it.Phase()])));
        sub->SetItem(r, 1, Text(Data::FormatDate(local)));
        sub->SetItem(r, 2, Text(Data::FormatTime(local)));
        ++r;
    }
    SpanRow(sub);
}

ClickResult ObjInfoWriterEventPages::OnClick(int id, HWND owner, Data::AstroObjRef& chosen) {
    if (id == kClickListPrev || id == kClickListNext) {
        pageOffset_ += id == kClickListNext ? Step() : -Step();
        return ClickResult::kRewrite;
    }
    return ObjInfoWriterBase::OnClick(id, owner, chosen);
}

void ObjInfoWriterSun::Write(HDC dc) {
    ObjInfoWriterBase::Write(dc);
    AngularSize(Eph().AngularDiameter(Calc::kSun));
    EventPage();
    RiseSet();
}

void ObjInfoWriterMoon::Write(HDC dc) {
    ObjInfoWriterBase::Write(dc);
    Calc::Ephemeris& eph = Eph();
    AngularSize(eph.AngularDiameter(Calc::kMoon));
    Section(MessageText(kMsgPhase));
    const int first = row_;
    Illuminated();
    Row(MessageText(kMsgAge), Data::FormatDaysTime(Calc::MoonAge(eph.moment), false));
    Row(MessageText(kMsgColongitude), Data::FormatDegrees(Calc::MoonColongitude(eph.moment)));
    // The Moon beside the rows, "waxing" or "waning" under it.
    const int pictureRows = row_ - first - 1;
    const int side = std::max(pictureRows * LineHeight(), 8);
    const Calc::MoonPhaseInfo phase = eph.MoonPhaseData();
    SkyMap::MapBitmap* picture = NewPicture(side, side);
    SkyMap::MoonShape shape;
    shape.radius = side / 2 - 1;
    shape.rotation = phase.axisAngle;
    shape.phaseAngle = phase.sunAngle;
    shape.brightLimb = phase.sunDirection;
    SkyMap::RenderMoon(*picture, shape, true);
    table_->SetItem(first, 2, PictureItem(picture), pictureRows, 1);
    table_->SetItem(row_ - 1, 2, Text(MessageText(phase.waxing ? kMsgWaxing : kMsgWaning)));
    EventPage();
    RiseSet();
}

void ObjInfoWriterMercury::Write(HDC dc) {
    ObjInfoWriterBase::Write(dc);
    DistToSun(Info().sunDistance);
    AngularSize(Eph().AngularDiameter(object_.number));
    Section(MessageText(kMsgPhase));
    PhasePictureGroup();
    RiseSet();
}

void ObjInfoWriterMars::Write(HDC dc) {
    ObjInfoWriterBase::Write(dc);
    DistToSun(Info().sunDistance);
    AngularSize(Eph().AngularDiameter(Calc::kMars));
    Row(MessageText(kMsgCentMer), Degree(Calc::MarsCentralMeridian(Eph().moment).centralMeridian));
    Section(MessageText(kMsgPhase));
    PhasePictureGroup();
    RiseSet();
}

void ObjInfoWriterJupiter::Write(HDC dc) {
    ObjInfoWriterBase::Write(dc);
    Calc::Ephemeris& eph = Eph();
    DistToSun(Info().sunDistance);
    Elongation();
    AngularSize2(kMsgAngularSize, eph.JupiterDisc());
    const Calc::JupiterMeridians cm = Calc::JupiterCentralMeridians(eph.moment);
    Row(MessageText(kMsgCentMer12), Degree(cm.system1) + u", " + Degree(cm.system2));
    Section(MessageText(kMsgJupiterMoons));

    Calc::JupiterMoon moons[Calc::kJupiterMoonCount];
    Calc::JupiterMoons(eph.moment, moons);
    float x[4], y[4];
    bool front[4];
    for (int i = 0; i < 4; ++i) {
        x[i] = moons[i].x;
        y[i] = moons[i].y;
        front[i] = moons[i].inFront != 0;
    }
    const int width = Dx(kPlanetPictureUnits);
    const int height = std::max(3 * LineHeight(), width / 6);
    geometry_ = JupiterGeometry(width, height, x, y, front);
    SkyMap::MapBitmap* picture = NewPicture(width, height);
    if (picture->Valid()) {
        HDC pdc = picture->Context();
        const JupiterPictureGeometry& g = geometry_;
        const int r = std::max(1, static_cast<int>(std::lround(g.pixelsPerRadius)));
        HBRUSH brush = CreateSolidBrush(kJupiterColour);
        HPEN pen = CreatePen(PS_SOLID, 1, kJupiterColour);
        HGDIOBJ oldBrush = SelectObject(pdc, brush), oldPen = SelectObject(pdc, pen);
        Ellipse(pdc, g.centreX - r, g.centreY - r, g.centreX + r + 1, g.centreY + r + 1);
        SelectObject(pdc, oldBrush);
        SelectObject(pdc, oldPen);
        DeleteObject(brush);
        DeleteObject(pen);
        // Each moon: a small square, its number above it.
        const COLORREF ink = TextColor();
        const int m = std::max(1, ScaledPixels(1));
        HGDIOBJ oldFont = SelectObject(pdc, PictureFont());
        SetBkMode(pdc, TRANSPARENT);
        SetTextColor(pdc, ink);
        HBRUSH moonBrush = CreateSolidBrush(ink);
        for (int i = 0; i < 4; ++i) {
            if (g.moonHidden[i]) continue;
            RECT dot{g.moonX[i] - m, g.moonY[i] - m, g.moonX[i] + m + 1, g.moonY[i] + m + 1};
            FillRect(pdc, &dot, moonBrush);
            const char16_t label[2] = {static_cast<char16_t>(u'1' + i), 0};
            SIZE ext{};
            GetTextExtentPoint32W(pdc, W(label), 1, &ext);
            // Labels alternate above and below so that neighbours stay legible.
            const int ty = i % 2 == 0 ? g.moonY[i] - m - ext.cy : g.moonY[i] + m + 1;
            TextOutW(pdc, g.moonX[i] - ext.cx / 2, ty, W(label), 1);
        }
        DeleteObject(moonBrush);
        SelectObject(pdc, oldFont);
    }
    SpanRow(PictureItem(picture));
    RiseSet();
}

void ObjInfoWriterSaturn::Write(HDC dc) {
    ObjInfoWriterBase::Write(dc);
    Calc::Ephemeris& eph = Eph();
    DistToSun(Info().sunDistance);
    Elongation();
    AngularSize(eph.SaturnDisc().major);
    AngularSize2(kMsgAngSizeRing, eph.SaturnRings());
    const float tilt = eph.SaturnTilt();
    Row(MessageText(kMsgRingIncl), Data::FormatDegrees(std::asin(std::max(-1.0f, std::min(1.0f, tilt))) * Calc::kRadToDeg));
    Section(MessageText(kMsgSaturnRings));

    const int w = Dx(kPlanetPictureUnits);
    const int h = w / 2;
    SkyMap::MapBitmap* picture = NewPicture(w, h);
    if (picture->Valid()) {
        HDC pdc = picture->Context();
        const double a = w / 2.0 - 1;
        const double b = -a * tilt;
        const int cx = w / 2, cy = h / 2;
        HPEN pen = CreatePen(PS_SOLID, 1, TextColor());
        HGDIOBJ oldPen = SelectObject(pdc, pen);
        HGDIOBJ oldBrush = SelectObject(pdc, GetStockObject(NULL_BRUSH));
        auto ellipse = [&](double k) {
            const int ax = static_cast<int>(std::lround(k * a)), by = static_cast<int>(std::lround(k * std::fabs(b)));
            Ellipse(pdc, cx - ax, cy - by, cx + ax + 1, cy + by + 1);
        };
        for (double k : {1.0, 0.88, 0.86, 0.665, 79.0 / 144.0}) ellipse(k);
        const int pr = static_cast<int>(std::lround(79.0 * a / 180.0));
        Ellipse(pdc, cx - pr, cy - pr, cx + pr + 1, cy + pr + 1);
        // The planet's near half hides the rings behind it: filled with the
        // background, then its rim drawn again.
        HBRUSH background = CreateSolidBrush(Layout::kMagenta);
        SelectObject(pdc, background);
        SelectObject(pdc, GetStockObject(NULL_PEN));
        const bool lowerHalf = b <= 0;
        // Chord from the arc's start to its end, counter-clockwise.
        if (lowerHalf)
            Chord(pdc, cx - pr, cy - pr, cx + pr + 2, cy + pr + 2, cx - pr, cy, cx + pr, cy);
        else
            Chord(pdc, cx - pr, cy - pr, cx + pr + 2, cy + pr + 2, cx + pr, cy, cx - pr, cy);
        SelectObject(pdc, pen);
        if (lowerHalf)
            Arc(pdc, cx - pr, cy - pr, cx + pr + 1, cy + pr + 1, cx - pr, cy, cx + pr, cy);
        else
            Arc(pdc, cx - pr, cy - pr, cx + pr + 1, cy + pr + 1, cx + pr, cy, cx - pr, cy);
        SelectObject(pdc, oldBrush);
        SelectObject(pdc, oldPen);
        DeleteObject(background);
        DeleteObject(pen);
    }
    SpanRow(PictureItem(picture));
    RiseSet();
}

void ObjInfoWriterUNP::Write(HDC dc) {
    ObjInfoWriterBase::Write(dc);
    DistToSun(Info().sunDistance);
    Elongation();
    AngularSize(Eph().AngularDiameter(object_.number));
    RiseSet();
}

void ObjInfoWriterComet::Write(HDC dc) {
    ObjInfoWriterBase::Write(dc);
    DistToSun(Info().sunDistance);
    PhaseRows();
    RiseSet();
}

void ObjInfoWriterStar::Write(HDC dc) {
    ObjInfoWriterBase::Write(dc);
    RiseSet();
}

std::unique_ptr<ObjInfoWriterBase> MakeWriter(const Data::AstroObjRef& object, const WriterContext& context,
                                              Data::AstroObjRef& shown) {
    shown = object;
    switch (object.kind) {
    case Data::kObjBody:
        switch (object.number) {
        case Calc::kSun: return std::make_unique<ObjInfoWriterSun>(object, context);
        case Calc::kMoon: return std::make_unique<ObjInfoWriterMoon>(object, context);
        case Calc::kMercury: return std::make_unique<ObjInfoWriterMercury>(object, context);
        case Calc::kVenus: return std::make_unique<ObjInfoWriterVenus>(object, context);
        case Calc::kMars: return std::make_unique<ObjInfoWriterMars>(object, context);
        case Calc::kJupiter: return std::make_unique<ObjInfoWriterJupiter>(object, context);
        case Calc::kSaturn: return std::make_unique<ObjInfoWriterSaturn>(object, context);
        case Calc::kUranus:
        case Calc::kNeptune:
        case Calc::kPluto: return std::make_unique<ObjInfoWriterUNP>(object, context);
        default: break;
        }
        break;
    case Data::kObjComet:
        if (Data::FindComet(object)) return std::make_unique<ObjInfoWriterComet>(object, context);
        break;
    case Data::kObjStar:
        if (object.number >= 0) return std::make_unique<ObjInfoWriterStar>(object, context);
        break;
    case Data::kObjUser:
        if (Data::FindUserObject(object)) return std::make_unique<ObjInfoWriterStar>(object, context);
        break;
    default: break;
    }
    shown = Data::AstroObjRef(Data::kObjBody, Calc::kSun);
    return std::make_unique<ObjInfoWriterSun>(shown, context);
}

}  // namespace ObjInfo

// --- the dialog ---------------------------------------------------------------------------------------

namespace {
constexpr UINT kClickMessage = WM_APP + 0x7D1;
constexpr int kPageId = 2010;
}  // namespace

ObjInfoDialog::ObjInfoDialog(const Data::AstroObjRef& object)
    : TitledDialog(u"OBJ_INFO_DIALOG"), requested_(object), page_(1, 1, false) {}

ObjInfoDialog::~ObjInfoDialog() {
    // The page must not keep the writer's table after the writer is gone.
    page_.Table().SetItem(0, 0, nullptr);
}

INT_PTR ObjInfoDialog::Run(HWND owner, const Data::AstroObjRef& object) {
    ObjInfoDialog dialog(object);
    return dialog.DoModal(owner);
}

void ObjInfoDialog::MeasureUnits() {
    RECT r{0, 0, 400, 800};
    if (MapDialogRect(hwnd_, &r) && r.right > 0 && r.bottom > 0) {
        unitX_ = r.right / 400.0;
        unitY_ = r.bottom / 800.0;
    } else {
        const LONG base = GetDialogBaseUnits();
        unitX_ = LOWORD(base) / 4.0;
        unitY_ = HIWORD(base) / 8.0;
    }
}

ObjInfo::WriterContext ObjInfoDialog::Context() const {
    ObjInfo::WriterContext c;
    c.ephemeris = &ProgramEphemeris();
    c.unitX = unitX_;
    c.unitY = unitY_;
    c.magnetic = Data::Preferences::Instance().magnetic != 0;
    return c;
}

void ObjInfoDialog::OnCreate() {
    TitledDialog::OnCreate();
    MeasureUnits();
    RECT rect{0, TitleHeight(), 10, TitleHeight() + 10};
    page_.Create(hwnd_, kPageId, rect, Layout::TableControl::kScroll, WS_VSCROLL | WS_TABSTOP);
    LayOut();
    ShowObject(requested_);
    ArmClock(false);
}

void ObjInfoDialog::OnDestroy() {
    KillTimer(hwnd_, kClockTimer);
    ResumeNotifier::Unregister(hwnd_);
    TitledDialog::OnDestroy();
}

void ObjInfoDialog::ArmClock(bool fromTimer) {
    if (!hwnd_) return;
    KillTimer(hwnd_, kClockTimer);
    if (!Data::Preferences::Instance().time.useCurrentTime) {
        ResumeNotifier::Unregister(hwnd_);
        return;
    }
    int32_t minute = 0;
    const int32_t delay = LiveClockDelay(PL::UtcNow(), fromTimer, lastMinute_, minute);
    lastMinute_ = minute;
    SetTimer(hwnd_, kClockTimer, static_cast<UINT>(delay), nullptr);
    ResumeNotifier::Register(hwnd_);
}

void ObjInfoDialog::LayOut() {
    if (!page_.GetHandle()) return;
    RECT client;
    GetClientRect(hwnd_, &client);
    int bottom = client.bottom;
    if (HWND ok = GetDlgItem(hwnd_, IDOK)) {
        RECT b;
        GetWindowRect(ok, &b);
        const int h = b.bottom - b.top, w = b.right - b.left;
        const int margin = ScaledPixels(4);
        const int y = client.bottom - margin - h;
        SetWindowPos(ok, nullptr, (client.right - w) / 2, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        bottom = y - margin;
    }
    const int margin = ScaledPixels(4);
    RECT r{margin, TitleHeight(), client.right, std::max<LONG>(TitleHeight() + 1, bottom)};
    mwcl::MoveWindowTo(page_.GetHandle(), r);
    page_.UpdateLayout();
}

void ObjInfoDialog::ShowObject(const Data::AstroObjRef& object) {
    page_.Table().SetItem(0, 0, nullptr);
    writer_ = ObjInfo::MakeWriter(object, Context(), shown_);
    Rewrite();
}

void ObjInfoDialog::Rewrite() {
    if (!writer_) return;
    page_.Table().SetItem(0, 0, nullptr);
    writer_->SetContext(Context());
    HDC dc = GetDC(hwnd_);
    writer_->Write(dc);
    ReleaseDC(hwnd_, dc);
    page_.Table().SetItem(0, 0, &writer_->Table());
    page_.UpdateLayout();
}

void ObjInfoDialog::Click(int id) {
    if (!writer_) return;
    Data::AstroObjRef chosen;
    switch (writer_->OnClick(id, hwnd_, chosen)) {
    case ObjInfo::ClickResult::kShowObject:
        ShowObject(chosen);
        break;
    case ObjInfo::ClickResult::kRewrite:
        // A new place or time reaches the views too.
        RefreshCurrentTime();
        if (CelvaneBaseWindow* w = MainWindow(Data::Preferences::Instance().viewMode)) w->Refresh();
        Rewrite();
        ArmClock(false);
        break;
    default:
        break;
    }
}

void ObjInfoDialog::HandleMessage(mwcl::MessageRecord& m) {
    switch (m.message) {
    case WM_HELP:
        ShowHelp(u"objinfo");
        m.result = TRUE;
        return;
    case WM_SIZE:
        TitledDialog::HandleMessage(m);
        LayOut();
        return;
    case WM_TIMER:
    case CelvaneBaseWindow::kResumeMessage:
        // The live clock's minute has come, or the computer woke up.
        if (m.message == WM_TIMER ? m.wParam == kClockTimer : m.wParam == 1) {
            ArmClock(m.message == WM_TIMER);
            RefreshCurrentTime();
            Rewrite();
            m.result = 0;
            return;
        }
        break;
    case kTimeChangedMessage:
        Rewrite();
        m.result = 0;
        return;
    case kClickMessage:
        Click(static_cast<int>(m.wParam));
        m.result = 0;
        return;
    default: break;
    }
    TitledDialog::HandleMessage(m);
}

void ObjInfoDialog::OnCommand(mwcl::MessageRecord& m) {
    if (m.message == WM_NOTIFY) {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(m.lParam);
        if (hdr && hdr->idFrom == static_cast<UINT_PTR>(kPageId)) {
            const int id = Layout::TableControl::TappedItemId(hdr);
            // The page is rebuilt after the tap has gone through it.
            if (id > 0) PostMessageW(hwnd_, kClickMessage, static_cast<WPARAM>(id), 0);
            m.result = 0;
            return;
        }
    }
    DefaultProcessing(m);
}

}  // namespace UI
