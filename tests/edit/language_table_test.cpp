#include <gtest/gtest.h>

#include <array>
#include <string_view>

#include "edit/LanguageTable.h"

namespace velmora::edit {
namespace {

// The codes of rows 1 to 538, in row order, as the comment dialog has always listed them;
// the names come from iso-codes, the codes and their order must not move.
constexpr std::array<std::string_view, 538> kRowCodes = {
    "abk",     "ace", "ach", "ada", "ady", "ady", "aar", "afh", "afr", "afa", "ain", "aka", "akk",
    "alb",     "sqi", "ale", "alg", "tut", "amh", "apa", "ara", "arg", "arc", "arp", "arn", "arw",
    "arm",     "hye", "art", "asm", "ast", "ath", "aus", "map", "ava", "ave", "awa", "aym", "aze",
    "ast",     "ban", "bat", "bal", "bam", "bai", "bad", "bnt", "bas", "bak", "baq", "eus", "btk",
    "bej",     "bel", "bem", "ben", "ber", "bho", "bih", "bik", "byn", "bin", "bis", "byn", "nob",
    "bos",     "bra", "bre", "bug", "bul", "bua", "bur", "mya", "cad", "car", "spa", "cat", "cau",
    "ceb",     "cel", "cai", "chg", "cmc", "cha", "che", "chr", "nya", "chy", "chb", "nya", "chi",
    "zho",     "chn", "chp", "cho", "zha", "chu", "chu", "chk", "chv", "nwc", "nwc", "cop", "cor",
    "cos",     "cre", "mus", "crp", "cpe", "cpf", "cpp", "crh", "crh", "scr", "hrv", "cus", "cze",
    "ces",     "dak", "dan", "dar", "day", "del", "din", "div", "doi", "dgr", "dra", "dua", "dut",
    "nld",     "dum", "dyu", "dzo", "efi", "egy", "eka", "elx", "eng", "enm", "ang", "myv", "epo",
    "est",     "ewe", "ewo", "fan", "fat", "fao", "fij", "fil", "fin", "fiu", "fon", "fre", "fra",
    "frm",     "fro", "fry", "fur", "ful", "gaa", "gla", "glg", "lug", "gay", "gba", "gez", "geo",
    "kat",     "ger", "deu", "nds", "gmh", "goh", "gem", "kik", "gil", "gon", "gor", "got", "grb",
    "grc",     "gre", "ell", "grn", "guj", "gwi", "hai", "hat", "hat", "hau", "haw", "heb", "her",
    "hil",     "him", "hin", "hmo", "hit", "hmn", "hun", "hup", "iba", "ice", "isl", "ido", "ibo",
    "ijo",     "ilo", "smn", "inc", "ine", "ind", "inh", "ina", "ile", "iku", "ipk", "ira", "gle",
    "mga",     "sga", "iro", "ita", "jpn", "jav", "jrb", "jpr", "kbd", "kab", "kac", "kal", "xal",
    "kam",     "kan", "kau", "krc", "kaa", "kar", "kas", "csb", "kaw", "kaz", "kha", "khm", "khi",
    "kho",     "kik", "kmb", "kin", "kir", "tlh", "kom", "kon", "kok", "kor", "kos", "kpe", "kro",
    "kua",     "kum", "kur", "kru", "kut", "kua", "lad", "lah", "lam", "lao", "lat", "lav", "ltz",
    "lez",     "lim", "lim", "lim", "lin", "lit", "jbo", "nds", "nds", "dsb", "loz", "lub", "lua",
    "lui",     "smj", "lun", "luo", "ltz", "lus", "mac", "mkd", "mad", "mag", "mai", "mak", "mlg",
    "may",     "msa", "mal", "mlt", "mnc", "mdr", "man", "mni", "mno", "glv", "mao", "mri", "mar",
    "chm",     "mah", "mwr", "mas", "myn", "men", "mic", "mic", "min", "mwl", "mis", "moh", "mdf",
    "mol",     "mkh", "lol", "mon", "mos", "mul", "mun", "nah", "nau", "nav", "nav", "nde", "nbl",
    "ndo",     "nap", "new", "nep", "new", "nia", "nic", "ssa", "niu", "nog", "non", "nai", "sme",
    "nso",     "nde", "nor", "nob", "nno", "nub", "nym", "nya", "nyn", "nno", "nyo", "nzi", "oci",
    "oji",     "chu", "chu", "nwc", "chu", "ori", "orm", "osa", "oss", "oss", "oto", "pal", "pau",
    "pli",     "pam", "pag", "pan", "pap", "paa", "nso", "per", "fas", "peo", "phi", "phn", "fil",
    "pon",     "pol", "por", "pra", "oci", "pro", "pan", "pus", "que", "roh", "raj", "rap", "rar",
    "qaa-qtz", "roa", "rum", "ron", "rom", "run", "rus", "sal", "sam", "smi", "smo", "sad", "sag",
    "san",     "sat", "srd", "sas", "nds", "sco", "gla", "sel", "sem", "nso", "scc", "srp", "srr",
    "shn",     "sna", "iii", "scn", "sid", "sgn", "bla", "snd", "sin", "sin", "sit", "sio", "sms",
    "den",     "sla", "slo", "slk", "slv", "sog", "som", "son", "snk", "wen", "nso", "sot", "sai",
    "alt",     "sma", "nbl", "spa", "suk", "sux", "sun", "sus", "swa", "ssw", "swe", "syr", "tgl",
    "tah",     "tai", "tgk", "tmh", "tam", "tat", "tel", "ter", "tet", "tha", "tib", "bod", "tig",
    "tir",     "tem", "tiv", "tlh", "tli", "tpi", "tkl", "tog", "ton", "tsi", "tso", "tsn", "tum",
    "tup",     "tur", "ota", "tuk", "tvl", "tyv", "twi", "udm", "uga", "uig", "ukr", "umb", "und",
    "hsb",     "urd", "uig", "uzb", "vai", "cat", "ven", "vie", "vol", "vot", "wak", "wal", "wln",
    "war",     "was", "wel", "cym", "wol", "xho", "sah", "yao", "yap", "yid", "yor", "ypk", "znd",
    "zap",     "zen", "zha", "zul", "zun",
};

TEST(LanguageTable, HoldsTheListedCodesInOrderBehindTheEmptyRow) {
    ASSERT_EQ(kLanguageRows.size(), kRowCodes.size() + 1);
    EXPECT_EQ(kLanguageRows[0].name, u"");
    EXPECT_EQ(kLanguageRows[0].code, "");
    for (std::size_t row = 1; row < kLanguageRows.size(); ++row) {
        EXPECT_EQ(kLanguageRows[row].code, kRowCodes[row - 1]) << "row " << row;
        EXPECT_FALSE(kLanguageRows[row].name.empty()) << "row " << row;
    }
    EXPECT_EQ(kLanguageRows[139].name, u"English");
}

TEST(LanguageTable, LookupsTakeTheFirstRowAndCommentsGetThreeLetters) {
    struct Row {
        const char* why;
        std::optional<std::string> frameLanguage;
        std::u16string_view preselected;
    };
    const Row preselect[] = {
        {"terminology code of a pair", "fra", u"French"},
        {"bibliographic code", "ger", u"German"},
        {"a code with several names shows its first row", "ady", u"Adygei"},
        {"no row for the code", "xyz", u"English"},
        {"upper case is no code", "FRA", u"English"},
        {"the unknown language", "XXX", u"English"},
        {"no language", std::nullopt, u"English"},
    };
    for (const Row& row : preselect)
        EXPECT_EQ(LanguageToPreselect(row.frameLanguage), row.preselected) << row.why;

    EXPECT_EQ(LanguageToStore(u"French"), "fre");  // the bibliographic row comes first
    EXPECT_EQ(LanguageToStore(u"Adyghe"), "ady");
    EXPECT_EQ(LanguageToStore(u""), "XXX");
    EXPECT_EQ(LanguageToStore(LanguageName("qaa-qtz")), "XXX");
    EXPECT_EQ(LanguageToStore(u"french"), "XXX");  // exact comparison: no row
    EXPECT_EQ(LanguageCode(u"Klingon"), "tlh");
}

}  // namespace
}  // namespace velmora::edit
