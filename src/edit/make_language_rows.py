#!/usr/bin/env python3
"""Writes LanguageRows.h, the rows of the comment dialog's language list, from Debian's
iso-codes list of ISO 639-2 (package iso-codes).

The codes and their order are the program's own and never change: a comment's language is
looked up by the first row with its code, and a name by the first row with the name, so the
order decides which bibliographic or terminology code a new comment gets. They are the ISO
639-2 list as the program first shipped it, in the alphabetical order of its English names,
including the since withdrawn scc, scr and mol. Only the English names come from iso-codes:
the rows of a code take that code's names in alphabetical order (a language with several
names has a row per name), the first names when the code has fewer rows than names, and
again from the first when it has more.

    make_language_rows.py [--json PATH] [--check] [OUTPUT]

--check compares with OUTPUT instead of writing it (exit 1 when they differ).
"""

import argparse
import json
import pathlib
import sys

ROW_CODES = """
abk ace ach ada ady ady aar afh afr afa ain aka akk alb sqi ale alg tut amh apa ara arg
arc arp arn arw arm hye art asm ast ath aus map ava ave awa aym aze ast ban bat bal bam
bai bad bnt bas bak baq eus btk bej bel bem ben ber bho bih bik byn bin bis byn nob bos
bra bre bug bul bua bur mya cad car spa cat cau ceb cel cai chg cmc cha che chr nya chy
chb nya chi zho chn chp cho zha chu chu chk chv nwc nwc cop cor cos cre mus crp cpe cpf
cpp crh crh scr hrv cus cze ces dak dan dar day del din div doi dgr dra dua dut nld dum
dyu dzo efi egy eka elx eng enm ang myv epo est ewe ewo fan fat fao fij fil fin fiu fon
fre fra frm fro fry fur ful gaa gla glg lug gay gba gez geo kat ger deu nds gmh goh gem
kik gil gon gor got grb grc gre ell grn guj gwi hai hat hat hau haw heb her hil him hin
hmo hit hmn hun hup iba ice isl ido ibo ijo ilo smn inc ine ind inh ina ile iku ipk ira
gle mga sga iro ita jpn jav jrb jpr kbd kab kac kal xal kam kan kau krc kaa kar kas csb
kaw kaz kha khm khi kho kik kmb kin kir tlh kom kon kok kor kos kpe kro kua kum kur kru
kut kua lad lah lam lao lat lav ltz lez lim lim lim lin lit jbo nds nds dsb loz lub lua
lui smj lun luo ltz lus mac mkd mad mag mai mak mlg may msa mal mlt mnc mdr man mni mno
glv mao mri mar chm mah mwr mas myn men mic mic min mwl mis moh mdf mol mkh lol mon mos
mul mun nah nau nav nav nde nbl ndo nap new nep new nia nic ssa niu nog non nai sme nso
nde nor nob nno nub nym nya nyn nno nyo nzi oci oji chu chu nwc chu ori orm osa oss oss
oto pal pau pli pam pag pan pap paa nso per fas peo phi phn fil pon pol por pra oci pro
pan pus que roh raj rap rar qaa-qtz roa rum ron rom run rus sal sam smi smo sad sag san
sat srd sas nds sco gla sel sem nso scc srp srr shn sna iii scn sid sgn bla snd sin sin
sit sio sms den sla slo slk slv sog som son snk wen nso sot sai alt sma nbl spa suk sux
sun sus swa ssw swe syr tgl tah tai tgk tmh tam tat tel ter tet tha tib bod tig tir tem
tiv tlh tli tpi tkl tog ton tsi tso tsn tum tup tur ota tuk tvl tyv twi udm uga uig ukr
umb und hsb urd uig uzb vai cat ven vie vol vot wak wal wln war was wel cym wol xho sah
yao yap yid yor ypk znd zap zen zha zul zun
""".split()

# Codes withdrawn from ISO 639-2 that the rows still hold: the code that took over, and
# which of its names the withdrawn code had.
WITHDRAWN = {"scc": ("srp", "Serbian"), "scr": ("hrv", "Croatian"), "mol": ("ron", "Moldavian")}

# Rows whose caption is the program's own rather than iso-codes' name for the code.
OWN_CAPTIONS = {"qaa-qtz": "Reserved for local user"}

DEFAULT_JSON = "/usr/share/iso-codes/json/iso_639-2.json"
HERE = pathlib.Path(__file__).resolve().parent


def names_by_code(entries):
    names = {}
    for entry in entries:
        split = [name.strip() for name in entry["name"].split(";")]
        for key in ("bibliographic", "alpha_3"):
            if key in entry:
                names[entry[key]] = split
    for code, (successor, name) in WITHDRAWN.items():
        if name not in names[successor]:
            sys.exit(f"iso-codes no longer names {successor} {name}")
        names[code] = [name]
    for code, caption in OWN_CAPTIONS.items():
        names[code] = [caption]
    return names


def rows(entries):
    names = names_by_code(entries)
    counts = {}
    for code in ROW_CODES:
        counts[code] = counts.get(code, 0) + 1
    chosen = {}
    for code, count in counts.items():
        if code not in names:
            sys.exit(f"iso-codes has no language {code}")
        own = sorted(names[code][:count])
        chosen[code] = [own[i % len(own)] for i in range(count)]
    taken = {code: 0 for code in counts}
    result = [("", "")]
    for code in ROW_CODES:
        result.append((chosen[code][taken[code]], code))
        taken[code] += 1
    return result


def cpp_text(name):
    out = []
    for ch in name:
        if ch in '"\\':
            out.append("\\" + ch)
        elif ord(ch) < 0x80:
            out.append(ch)
        else:
            out.append(f"\\u{ord(ch):04X}")
    return "".join(out)


def header(table):
    lines = [
        "// Generated by make_language_rows.py from iso-codes' ISO 639-2 list: do not edit.",
        "#pragma once",
        "",
        "#include <array>",
        "#include <string_view>",
        "",
        "namespace velmora::edit {",
        "",
        "struct LanguageRow {",
        "    std::u16string_view name;",
        "    std::string_view code;",
        "};",
        "",
        f"inline constexpr std::array<LanguageRow, {len(table)}> kLanguageRows = {{{{",
    ]
    lines += [f'    {{u"{cpp_text(name)}", "{code}"}},' for name, code in table]
    lines += ["}};", "", "}  // namespace velmora::edit", ""]
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--json", default=DEFAULT_JSON)
    parser.add_argument("--check", action="store_true")
    parser.add_argument("output", nargs="?", default=str(HERE / "LanguageRows.h"))
    arguments = parser.parse_args()
    with open(arguments.json, encoding="utf-8") as source:
        text = header(rows(json.load(source)["639-2"]))
    target = pathlib.Path(arguments.output)
    if arguments.check:
        if target.read_text(encoding="utf-8") != text:
            sys.exit(f"{target} is not what the generator makes from {arguments.json}")
        return
    target.write_text(text, encoding="utf-8")


if __name__ == "__main__":
    main()
