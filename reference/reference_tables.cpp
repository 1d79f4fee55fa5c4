// SPDX-License-Identifier: MIT
#include "reference/reference_tables.h"

namespace talmo {

// 0 to 12 are the clock-time words of the catalogue; it has no others for them.
const std::array<ReferenceRow, 20> kCardinalButtons{{
    {"0", "noll", "TIME", "0NOLL"},      {"1", "ett", "TIME", "1ETT"},
    {"2", "två", "TIME", "2TVA"},        {"3", "tre", "TIME", "3TRE"},
    {"4", "fyra", "TIME", "4FYRA"},      {"5", "fem", "TIME", "5FEM"},
    {"6", "sex", "TIME", "6SEX"},        {"7", "sju", "TIME", "7SJU"},
    {"8", "åtta", "TIME", "8ATTA"},      {"9", "nio", "TIME", "9NIO"},
    {"10", "tio", "TIME", "10TIO"},      {"11", "elva", "TIME", "11ELVA"},
    {"12", "tolv", "TIME", "12TOLV"},    {"13", "tretton", "NUMBERS", "N13"},
    {"14", "fjorton", "NUMBERS", "N14"}, {"15", "femton", "NUMBERS", "N15"},
    {"16", "sexton", "NUMBERS", "N16"},  {"17", "sjutton", "NUMBERS", "N17"},
    {"18", "arton", "NUMBERS", "N18"},   {"19", "nitton", "NUMBERS", "N19"},
}};

// Large numbers are written with the period as the thousands separator, as
// Swedish does.
const std::array<ReferenceRow, 25> kCardinalList{{
    {"20", "tjugo", "NUMBERS", "N20"},
    {"21", "tjugoett", "NUMBERS", "N21"},
    {"22", "tjugotvå", "NUMBERS", "N22"},
    {"23", "tjugotre", "NUMBERS", "N23"},
    {"24", "tjugofyra", "NUMBERS", "N24"},
    {"25", "tjugofem", "NUMBERS", "N25"},
    {"26", "tjugosex", "NUMBERS", "N26"},
    {"27", "tjugosju", "NUMBERS", "N27"},
    {"28", "tjugoåtta", "NUMBERS", "N28"},
    {"29", "tjugonio", "NUMBERS", "N29"},
    {"30", "trettio", "NUMBERS", "N30"},
    {"40", "fyrtio", "NUMBERS", "N40"},
    {"50", "femtio", "NUMBERS", "N50"},
    {"60", "sextio", "NUMBERS", "N60"},
    {"70", "sjuttio", "NUMBERS", "N70"},
    {"80", "åttio", "NUMBERS", "N80"},
    {"90", "nittio", "NUMBERS", "N90"},
    {"100", "hundra", "NUMBERS", "N100"},
    {"101", "etthundraett", "NUMBERS", "N101"},
    {"200", "tvåhundra", "NUMBERS", "N200"},
    {"1000", "tusen", "NUMBERS", "N1000"},
    {"10.000", "tiotusen", "NUMBERS", "N10000"},
    {"100.000", "ett hundra tusen", "NUMBERS", "N100000"},
    {"2.000.000", "två miljoner", "NUMBERS", "N2MILJONER"},
    {"7.000.000.000", "sju miljarder", "NUMBERS", "7MILJARDER"},
}};

const std::array<ReferenceRow, 4> kFractions{{
    {"1/2", "en halv", "NUMBERS", "ENHALV"},
    {"2/3", "två tredjedelar", "NUMBERS", "TVATREDJEDELAR"},
    {"3/4", "tre fjärdedelar", "NUMBERS", "TREFJARDEDELAR"},
    {"7/8", "sju åttondelar", "NUMBERS", "SJUATTONDELAR"},
}};

// The clips of 17th and 18th are stored with a single T.
const std::array<ReferenceRow, 20> kOrdinals{{
    {"första", "", "ORDINALS", "FORSTA"},       {"andra", "", "ORDINALS", "ANDRA"},
    {"tredje", "", "ORDINALS", "TREDJE"},       {"fjärde", "", "ORDINALS", "FJARDE"},
    {"femte", "", "ORDINALS", "FEMTE"},         {"sjätte", "", "ORDINALS", "SJATTE"},
    {"sjunde", "", "ORDINALS", "SJUNDE"},       {"åttonde", "", "ORDINALS", "ATTONDE"},
    {"nionde", "", "ORDINALS", "NIONDE"},       {"tionde", "", "ORDINALS", "TIONDE"},
    {"elfte", "", "ORDINALS", "ELFTE"},         {"tolfte", "", "ORDINALS", "TOLFTE"},
    {"trettonde", "", "ORDINALS", "TRETTONDE"}, {"fjortonde", "", "ORDINALS", "FJORTONDE"},
    {"femtonde", "", "ORDINALS", "FEMTONDE"},   {"sextonde", "", "ORDINALS", "SEXTONDE"},
    {"sjuttonde", "", "ORDINALS", "SJUTONDE"},  {"artonde", "", "ORDINALS", "ARTONDE"},
    {"nittonde", "", "ORDINALS", "NITONDE"},    {"tjugonde", "", "ORDINALS", "TJUGONDE"},
}};

const std::array<std::string_view, 20> kOrdinalsEnglish{
    "first",     "second",    "third",       "fourth",     "fifth",      "sixth",      "seventh",
    "eighth",    "ninth",     "tenth",       "eleventh",   "twelfth",    "thirteenth", "fourteenth",
    "fifteenth", "sixteenth", "seventeenth", "eighteenth", "nineteenth", "twentieth"};

const std::array<ReferenceRow, 5> kOperators{{
    {"+", "plus", "NUMBERS", "PLUS"},
    {"-", "minus", "NUMBERS", "MINUS"},
    {"÷", "delat med", "NUMBERS", "DELATMED"},
    {"x", "gånger", "NUMBERS", "GANGER"},
    {"=", "lika med", "NUMBERS", "LIKAMED"},
}};

// The clips are named here in lower case; the store matches names
// regardless of case. The decimal comma is read "komma".
const std::array<ReferenceRow, 3> kExpressions{{
    {"5 x 6 = 30", "fem gånger sex är lika med trettio", "NUMBERS", "5ganger6"},
    {"7 ÷ 2 = 3,5", "sju delat med två är lika med tre komma fem", "NUMBERS", "7div2a"},
    {"7 ÷ 2 = 3 1/2", "sju delat med två är lika med tre och en halv", "NUMBERS", "7div2b"},
}};

}  // namespace talmo
