#include "data/objectnames.h"

#include "data/numtext.h"
#include "data/starcatalog.h"
#include "data/starlookup.h"

namespace Data {

// --- bodies ---------------------------------------------------------------------------------

const Message kMsgBodyNames[kBodyNameCount] = {
    {{0x409, u"Sun"}, {0x407, u"Sonne"}, {0x40C, u"Soleil"}},
    {{0x409, u"Moon"}, {0x407, u"Mond"}, {0x40C, u"Lune"}},
    {{0x409, u"Mercury"}, {0x407, u"Merkur"}, {0x40C, u"Mercure"}},
    {{0x409, u"Venus"}, {0x407, u"Venus"}, {0x40C, u"V\u00e9nus"}},
    {{0x409, u"Mars"}, {0x407, u"Mars"}, {0x40C, u"Mars"}},
    {{0x409, u"Jupiter"}, {0x407, u"Jupiter"}, {0x40C, u"Jupiter"}},
    {{0x409, u"Saturn"}, {0x407, u"Saturn"}, {0x40C, u"Saturne"}},
    {{0x409, u"Uranus"}, {0x407, u"Uranus"}, {0x40C, u"Uranus"}},
    {{0x409, u"Neptune"}, {0x407, u"Neptun"}, {0x40C, u"Neptune"}},
    {{0x409, u"Pluto"}, {0x407, u"Pluto"}, {0x40C, u"Pluton"}},
    {{0x409, u"Star"}, {0x407, u"Stern"}, {0x40C, u"Etoile"}},
};

std::u16string BodyName(int body) {
    return MessageText(kMsgBodyNames[body >= 0 && body < 10 ? body : kBodyNameCount - 1]);
}

std::u16string BodyKeyName(int body) {
    return body >= 0 && body < 10 ? MessageText(kMsgBodyNames[body], 0x409) : std::u16string();
}

// --- constellations ---------------------------------------------------------------------------

namespace {

struct ConstellationNames {
    const char16_t* abbreviation;
    const char16_t* latin;
    const char16_t* english;
    const char16_t* german;
    const char16_t* french;
};

const ConstellationNames kConstellations[kConstellationNameCount] = {
    {u"And", u"Andromeda", u"Princess", u"Andromeda", u"Androm\u00e8de"},  // 0
    {u"Ant", u"Antila", u"Air Pump", u"Luftpumpe", u"la Machine pneumatique"},  // 1
    {u"Aps", u"Apus", u"Bird of Paradise", u"Paradiesvogel", u"l'Oiseau de Paradis"},  // 2
    {u"Aql", u"Aquila", u"Eagle", u"Adler", u"l'Aigle"},  // 3
    {u"Aqr", u"Aquarius", u"Waterbearer", u"Wassermann", u"le Verseau"},  // 4
    {u"Ara", u"Ara", u"Altar", u"Altar", u"l'Autel"},  // 5
    {u"Ari", u"Aries", u"Ram", u"Widder", u"le B\u00e9lier"},  // 6
    {u"Aur", u"Auriga", u"Charioteer", u"Fuhrmann", u"le Cocher"},  // 7
    {u"Boo", u"Bo\u00f6tes", u"Herdsman", u"B\u00e4renh\u00fcter", u"le Bouvier"},  // 8
    {u"Cae", u"Caelum", u"Chisel", u"Grabstichel", u"le Burin"},  // 9
    {u"Cam", u"Camelopardalis", u"Giraffe", u"Giraffe", u"la Girafe"},  // 10
    {u"Cap", u"Capricornus", u"Goat", u"Steinbock", u"le Capricorne"},  // 11
    {u"Car", u"Carina", u"Keel", u"Kiel des Schiffes", u"la Car\u00e8ne"},  // 12
    {u"Cas", u"Cassiopeia", u"Queen", u"Kassiopeia", u"Cassiop\u00e9e"},  // 13
    {u"Cen", u"Centaurus", u"Centaur", u"Kentaur", u"le Centaure"},  // 14
    {u"Cep", u"Cepheus", u"King", u"Kepheus", u"Ceph\u00e9e"},  // 15
    {u"Cet", u"Cetus", u"Whale", u"Walfisch", u"la Baleine"},  // 16
    {u"Cha", u"Chamaeleon", u"Chameleon", u"Cham\u00e4leon", u"le Cam\u00e9l\u00e9on"},  // 17
    {u"Cir", u"Circinus", u"Drawing Compasses", u"Zirkel", u"le Compas"},  // 18
    {u"CMa", u"Canis Major", u"Greater Dog", u"Gro\u00dfer Hund", u"le Grand Chien"},  // 19
    {u"CMi", u"Canis Minor", u"Lesser Dog", u"Kleiner Hund", u"le Petit Chien"},  // 20
    {u"Cnc", u"Cancer", u"Crab", u"Krebs", u"le Cancer"},  // 21
    {u"Col", u"Columba", u"Dove", u"Taube", u"la Colombe"},  // 22
    {u"Com", u"Coma Berenices", u"Berenic", u"Haar der Berenike", u"la Chevelure de B\u00e9r\u00e9nice"},  // 23
    {u"CrA", u"Corona Australis", u"South. Crown", u"S\u00fcdl. Krone", u"la Couronne australe"},  // 24
    {u"CrB", u"Corona Borealis", u"North. Crown", u"N\u00f6rdl. Krone", u"la Couronne bor\u00e9ale"},  // 25
    {u"Crt", u"Crater", u"Cup", u"Becher", u"la Coupe"},  // 26
    {u"Cru", u"Crux", u"South. Cross", u"Kreuz des S\u00fcdens", u"le Croix du Sud"},  // 27
    {u"Crv", u"Corvus", u"Raven", u"Rabe", u"le Corbeau"},  // 28
    {u"CVn", u"Canes Venatici", u"Hunting Dogs", u"Jagdhunde", u"les Chiens de chasse"},  // 29
    {u"Cyg", u"Cygnus", u"Swan", u"Schwan", u"le Cygne"},  // 30
    {u"Del", u"Delphinus", u"Dolphin", u"Delphin", u"le Dauphin"},  // 31
    {u"Dor", u"Dorado", u"Swordfish", u"Schwertfisch", u"la Dorade"},  // 32
    {u"Dra", u"Draco", u"Dragon", u"Drache", u"le Dragon"},  // 33
    {u"Equ", u"Equuleus", u"Little Horse", u"Kleines Pferd", u"le Petit Cheval"},  // 34
    {u"Eri", u"Eridanus", u"River", u"Flu\u00df Eridanus", u"l'Eridan"},  // 35
    {u"For", u"Fornax", u"Furnace", u"Ofen", u"le Fourneau"},  // 36
    {u"Gem", u"Gemini", u"Twins", u"Zwillinge", u"les G\u00e9meaux"},  // 37
    {u"Gru", u"Grus", u"Crane", u"Kranich", u"la Grue"},  // 38
    {u"Her", u"Hercules", u"Strongman", u"Herkules", u"Hercule"},  // 39
    {u"Hor", u"Horologium", u"Clock", u"Pendeluhr", u"l'Horloge"},  // 40
    {u"Hya", u"Hydra", u"Sea Serpent", u"N\u00f6rdl. Wasserschlange", u"l'Hydre femelle"},  // 41
    {u"Hyi", u"Hydrus", u"Water Snake", u"S\u00fcdl. Wasserschlange", u"l'Hydre m\u00e2le"},  // 42
    {u"Ind", u"Indus", u"Indian", u"Inder", u"l'Indien"},  // 43
    {u"Lac", u"Lacerta", u"Lizard", u"Eidechse", u"le Lezard"},  // 44
    {u"Leo", u"Leo", u"Lion", u"L\u00f6we", u"le Lion"},  // 45
    {u"Lep", u"Lepus", u"Hare", u"Hase", u"le Li\u00e8vre"},  // 46
    {u"Lib", u"Libra", u"Scales", u"Waage", u"la Balance"},  // 47
    {u"LMi", u"Leo Minor", u"Lesser Lion", u"Kleiner L\u00f6we", u"le Petit Lion"},  // 48
    {u"Lup", u"Lupus", u"Wolf", u"Wolf", u"le Loup"},  // 49
    {u"Lyn", u"Lynx", u"Lynx", u"Luchs", u"le Lynx"},  // 50
    {u"Lyr", u"Lyra", u"Lyre", u"Leier", u"la Lyre"},  // 51
    {u"Men", u"Mensa", u"Table Mountain", u"Tafelberg", u"la Table"},  // 52
    {u"Mic", u"Microscopium", u"Microscope", u"Mikroskop", u"le Microscope"},  // 53
    {u"Mon", u"Monoceros", u"Unicorn", u"Einhorn", u"la Licorne"},  // 54
    {u"Mus", u"Musca", u"Fly", u"Fliege", u"la Mouche"},  // 55
    {u"Nor", u"Norma", u"Square", u"Lineal", u"la R\u00e8gle"},  // 56
    {u"Oct", u"Octans", u"Octant", u"Oktant", u"l'Octan"},  // 57
    {u"Oph", u"Ophiuchus", u"Serpent-bearer", u"Schlangentr\u00e4ger", u"Ophiuchus"},  // 58
    {u"Ori", u"Orion", u"Hunter", u"Orion", u"Orion"},  // 59
    {u"Pav", u"Pavo", u"Peacock", u"Pfau", u"le Paon"},  // 60
    {u"Peg", u"Pegasus", u"Winged Horse", u"Pegasus", u"P\u00e9gase"},  // 61
    {u"Per", u"Perseus", u"Hero", u"Perseus", u"Pers\u00e9e"},  // 62
    {u"Phe", u"Phoenix", u"Phoenix", u"Ph\u00f6nix", u"le Ph\u00e9nix"},  // 63
    {u"Pic", u"Pictor", u"Painter", u"Malereistaffel", u"le Peintre"},  // 64
    {u"PsA", u"Piscis Austrinus", u"South. Fish", u"S\u00fcdl. Fische", u"le Poisson Austral"},  // 65
    {u"Psc", u"Pisces", u"Fish", u"Fische", u"les Poissons"},  // 66
    {u"Pup", u"Puppis", u"Stern", u"Achterschiff", u"la Poupe"},  // 67
    {u"Pyx", u"Pyxis", u"Compass", u"Kompa\u00df", u"la Boussole"},  // 68
    {u"Ret", u"Reticulum", u"Net", u"Netz", u"le R\u00e9ticule"},  // 69
    {u"Scl", u"Sculptor", u"Sculptor", u"Bildhauerwerkstatt", u"le Sculpteur"},  // 70
    {u"Sco", u"Scorpius", u"Scorpion", u"Skorpion", u"le Scorpion"},  // 71
    {u"Sct", u"Scutum", u"Shield", u"Schild", u"l'Ecu"},  // 72
    {u"Ser", u"Serpens", u"Snake", u"Schlange", u"le Serpent"},  // 73
    {u"Sex", u"Sextans", u"Sextant", u"Sextant", u"le Sextant"},  // 74
    {u"Sge", u"Sagitta", u"Arrow", u"Pfeil", u"la Fl\u00e8che"},  // 75
    {u"Sgr", u"Sagittarius", u"Archer", u"Sch\u00fctze", u"le Sagitaire"},  // 76
    {u"Tau", u"Taurus", u"Bull", u"Stier", u"le Taureau"},  // 77
    {u"Tel", u"Telescopium", u"Telescope", u"Fernrohr", u"le T\u00e9l\u00e9scope"},  // 78
    {u"TrA", u"Triangulum Australe", u"South. Triangle", u"S\u00fcdl. Dreieck", u"le Triangle Austral"},  // 79
    {u"Tri", u"Triangulum", u"Triangle", u"Dreieck", u"le Trinagle"},  // 80
    {u"Tuc", u"Tucana", u"Toucan", u"Tukan", u"le Toucan"},  // 81
    {u"UMa", u"Ursa Major", u"Great Bear", u"Gro\u00dfer B\u00e4r", u"la Grande Ourse"},  // 82
    {u"UMi", u"Ursa Minor", u"Little Bear", u"Kleiner B\u00e4r", u"la Petite Ourse"},  // 83
    {u"Vel", u"Vela", u"Sail", u"Segel", u"les Voiles"},  // 84
    {u"Vir", u"Virgo", u"Maiden", u"Jungfrau", u"la Vierge"},  // 85
    {u"Vol", u"Volans", u"Flying Fish", u"Fliegender Fisch", u"le Poisson volant"},  // 86
    {u"Vul", u"Vulpecula", u"Fox", u"Fuchs", u"le Petit Renard"},  // 87
};

// Alphabetical; the number of each name is its position + 1.
const char16_t* const kProperNames[kProperNameTotal] = {
    u"Acamar", u"Achernar", u"Achird", u"Acrux", u"Acubens", u"Adhafera", u"Adhara", u"Adhil", u"Agena",
    u"Ain", u"Ain al Rami", u"Al Anz", u"Al Kalb al Rai", u"Al Minliar al Asad", u"Al Minliar al Shuja",
    u"Aladfar", u"Alathfar", u"Albaldah", u"Albali", u"Albireo", u"Alchiba", u"Alcor", u"Alcyone",
    u"Aldebaran", u"Alderamin", u"Aldhibah", u"Alfecca Meridiana", u"Alfirk", u"Algenib", u"Algieba",
    u"Algol", u"Algorab", u"Alhena", u"Alioth", u"Alkaid", u"Alkalurops", u"Alkes", u"Alkurhah", u"Almaak",
    u"Alnair", u"Alnath", u"Alnilam", u"Alnitak", u"Alniyat", u"Alphard", u"Alphecca", u"Alpheratz", u"Alrai",
    u"Alrisha", u"Alsafi", u"Alsciaukat", u"Alshain", u"Alshat", u"Alsuhail", u"Altair", u"Altarf", u"Alterf",
    u"Aludra", u"Alula Australis", u"Alula Borealis", u"Alya", u"Alzirr", u"Ancha", u"Angetenar", u"Ankaa",
    u"Anser", u"Antares", u"Arcturus", u"Arkab Posterior", u"Arkab Prior", u"Arneb", u"Arrakis", u"Ascella",
    u"Asellus Australis", u"Asellus Borealis", u"Asellus Primus", u"Asellus Secondus", u"Asellus Tertius",
    u"Asterope", u"Atik", u"Atlas", u"Auva", u"Avior", u"Azelfafage", u"Azha", u"Azmidiske", u"Baham",
    u"Baten Kaitos", u"Becrux", u"Beid", u"Bellatrix", u"Betelgeuse", u"Blaze Star", u"Botein", u"Brachium",
    u"Canopus", u"Capella", u"Caph", u"Castor", u"Cebalrai", u"Celaeno", u"Chara", u"Chort", u"Cor Caroli",
    u"Cursa", u"Dabih", u"Deneb", u"Deneb Algedi", u"Deneb Dulfim", u"Deneb Kaitos Shemali", u"Deneb el Okab",
    u"Denebola", u"Dheneb", u"Diadem", u"Diphda", u"Dschubba", u"Dsiban", u"Dubhe", u"Ed Asich", u"Electra",
    u"Eltanin", u"Enif", u"Fomalhaut", u"Fornacis", u"Fum al Samakah", u"Furud", u"Gacrux", u"Garnet Star",
    u"Gianfar", u"Gienah Cygni", u"Gienah Ghurab", u"Gomeisa", u"Gorgonea Quarta", u"Gorgonea Secunda",
    u"Gorgonea Tertia", u"Graffias", u"Grumium", u"Haedi", u"Hamal", u"Hassaleh", u"Head of Hydrus", u"Heze",
    u"Hoedus II", u"Homam", u"Hyadum I", u"Hyadum II", u"Izar", u"Izar", u"Jabbah", u"Kaffaljidhma", u"Kajam",
    u"Kaus Australis", u"Kaus Borealis", u"Kaus Meridionalis", u"Keid", u"Kitalpha", u"Kochab",
    u"Kornephoros", u"Kraz", u"Kuma", u"Lesath", u"Maasym", u"Maia", u"Marfak", u"Marfic", u"Marfik",
    u"Markab", u"Matar", u"Mebsuta", u"Megrez", u"Meissa", u"Mekbuda", u"Menkalinan", u"Menkar", u"Menkent",
    u"Menkib", u"Merak", u"Merga", u"Merope", u"Mesarthim", u"Metallah", u"Miaplacidus", u"Minkar",
    u"Mintaka", u"Mira", u"Mirach", u"Miram", u"Mirfak", u"Mizar", u"Mufrid", u"Muliphen", u"Murzim",
    u"Muscida", u"Nair al Saif", u"Naos", u"Nash", u"Nashira", u"Nekkar", u"Nihal", u"Nodus Secundus",
    u"Nunki", u"Nusakan", u"Peacock", u"Phad", u"Phaet", u"Pherkad", u"Pherkad Minor", u"Plaskett's star",
    u"Pleione", u"Polaris", u"Polaris Australis", u"Pollux", u"Porrima", u"Praecipua", u"Prima Giedi",
    u"Procyon", u"Propus", u"Rana", u"Ras Elased Australis", u"Ras Elased Borealis", u"Rasalgethi",
    u"Rasalhague", u"Rastaban", u"Regulus", u"Rigel", u"Rigil Kentaurus", u"Rijl al Awwa", u"Rotanev",
    u"Ruchbah", u"Rukbat", u"Sabik", u"Sadalachbia", u"Sadalmelik", u"Sadalsuud", u"Sadr", u"Saiph", u"Salm",
    u"Sargas", u"Sarin", u"Sceptrum", u"Scheat", u"Schedar", u"Secunda Giedi", u"Segin", u"Seginus", u"Sham",
    u"Sharatan", u"Shaula", u"Sheliak", u"Sirius", u"Situla", u"Skat", u"Spica", u"Sterope II", u"Sualocin",
    u"Subra", u"Suhail al Muhlif", u"Sulafat", u"Syrma", u"Talitha", u"Tania Australis", u"Tania Borealis",
    u"Tarazed", u"Taygeta", u"Tegmen", u"Tejat Posterior", u"Terebellum", u"Thabit", u"Theemim", u"Thuban",
    u"Torcularis Septentrionalis", u"Turais", u"Tyl", u"Unukalhai", u"Vega", u"Vindemiatrix", u"Wasat",
    u"Wezen", u"Wezn", u"Yed Posterior", u"Yed Prior", u"Yildun", u"Zaniah", u"Zaurak", u"Zavijah", u"Zibal",
    u"Zosma", u"Zuben Elakrab", u"Zuben Elakribi", u"Zuben Elgenubi", u"Zuben Elschemali",
};

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; }

}  // namespace

std::u16string ConstellationAbbreviation(int index) {
    if (index == kSerpensSecondPart) index = kSerpensIndex;
    return index >= 0 && index < kConstellationNameCount ? kConstellations[index].abbreviation : u"";
}

std::u16string ConstellationLatinName(int index) {
    if (index == kSerpensSecondPart) index = kSerpensIndex;
    return index >= 0 && index < kConstellationNameCount ? kConstellations[index].latin : u"";
}

std::u16string ConstellationCommonName(int index, uint16_t language) {
    if (index < 0 || index >= kConstellationNameCount) return std::u16string();
    const ConstellationNames& c = kConstellations[index];
    const Message m{{0x409, c.english}, {0x407, c.german}, {0x40C, c.french}};
    return MessageText(m, language);
}

std::u16string ConstellationCommonName(int index) { return ConstellationCommonName(index, UserLangId()); }

int ConstellationFromAbbreviation(const std::u16string& text) {
    if (text.size() != 3) return -1;
    for (int i = 0; i < kConstellationNameCount; ++i) {
        const char16_t* a = kConstellations[i].abbreviation;
        if (Lower(a[0]) == Lower(text[0]) && Lower(a[1]) == Lower(text[1]) && Lower(a[2]) == Lower(text[2]))
            return i;
    }
    return -1;
}

// --- stars ------------------------------------------------------------------------------------

std::u16string GreekLetter(int n) {
    if (n >= 1 && n <= 17) return std::u16string(1, char16_t(0x03B1 + (n - 1)));
    if (n >= 18 && n <= 24) return std::u16string(1, char16_t(0x03B2 + (n - 1)));  // past the final sigma
    return std::u16string();
}

std::u16string ProperName(int k) { return k >= 1 && k <= kProperNameTotal ? kProperNames[k - 1] : u""; }

std::u16string FormatBayerFlamsteed(uint8_t letter, uint8_t digit, uint8_t flamsteed, uint8_t constellation) {
    if (letter == 0 && flamsteed == 0) return std::u16string();
    std::u16string s;
    if (flamsteed) s += FormatInt(flamsteed);
    const std::u16string greek = GreekLetter(letter);
    if (!greek.empty()) {
        if (!s.empty()) s += u' ';
        s += greek;
        if (digit) s += FormatInt(digit);
    }
    s += u' ';
    s += ConstellationAbbreviation(constellation);
    return s;
}

namespace {

// "a, b" with empty parts left out.
std::u16string Join(std::u16string a, const std::u16string& b) {
    if (a.empty()) return b;
    if (!b.empty()) a += u", " + b;
    return a;
}

}  // namespace

StarNameLines StarNames(StarNumber n) {
    StarNameLines out;
    if (n < 0) return out;
    const StarInfo s = ReadStar(n);
    const BayerFlamsteed& b = s.bayerFlamsteed;
    const std::u16string bf = FormatBayerFlamsteed(b.letter, b.digit, b.flamsteed, b.constellation);
    const std::u16string hip = s.hip ? FormatHip(s.hip) : std::u16string();
    const std::u16string tyc = IsNone(s.tyc) ? std::u16string() : FormatTyc(s.tyc);
    const std::u16string hr = s.hr ? FormatHr(s.hr) : std::u16string();
    const std::u16string name = ProperName(s.properName);
    if (!bf.empty() && name.empty()) {
        out.primary = Join(bf, hip);
        out.secondary = Join(tyc, hr);
    } else if (!name.empty()) {
        // A proper name, after the Bayer or Flamsteed designation if any.
        out.primary = Join(bf, name);
        out.secondary = Join(hip, tyc);
    } else if (!hip.empty()) {
        out.primary = Join(hip, tyc);
        out.secondary = hr;
    } else {
        out.primary = tyc;
    }
    // A star known by nothing else is known by its HR number.
    if (out.primary.empty()) {
        out.primary = hr;
        if (out.secondary == hr) out.secondary.clear();
    }
    return out;
}

}  // namespace Data
