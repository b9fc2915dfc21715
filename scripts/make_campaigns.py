#!/usr/bin/env python3
"""Writes the example campaigns (German and English, about 200 waters each) and the batch test
file. The waters are drawn so that they could come from a laboratory: cations first, anions
shared out so that the charge balance closes within a few per cent, the free carbon dioxide
from the carbonate equilibrium at the measured pH, the conductivity from the ion sum.

    scripts/make_campaigns.py   # rewrites resources/examples/campaign_*.csv,
                                # tests/data/batch_waters.csv and bench/waters_1000.csv
"""
import csv
import io
import pathlib
import random

ROOT = pathlib.Path(__file__).resolve().parent.parent

MOLAR = {"Na": 22.99, "K": 39.1, "Ca": 40.08, "Mg": 24.305, "Cl": 35.457, "NO3": 62.008,
         "SO4": 96.006, "PO4": 94.97, "NH4": 18.007, "Fe": 55.845, "Mn": 54.938}

PLACES_DE = ["Brunnen", "Tiefbrunnen", "Quelle", "Hochbehälter", "Wasserwerk Ausgang",
             "Netz, Hydrant", "Mischwasser Zone", "Talsperre Rohwasser", "Uferfiltrat",
             "Übergabeschacht", "Druckerhöhung", "Entsäuerung Ablauf"]
PLACES_EN = ["Well", "Deep well", "Spring", "Reservoir", "Plant outlet", "Network, hydrant",
             "Blend zone", "Dam raw water", "Bank filtrate", "Transfer chamber",
             "Booster station", "Deacidification outlet"]


def water(rng):
    kind = rng.random()
    if kind < 0.25:  # soft, acidic upland water
        ca, mg = rng.uniform(4, 25), rng.uniform(1, 6)
        ph = rng.uniform(6.3, 7.6)
    elif kind < 0.75:  # medium groundwater
        ca, mg = rng.uniform(30, 110), rng.uniform(5, 25)
        ph = rng.uniform(6.9, 7.9)
    else:  # hard karst or treated water
        ca, mg = rng.uniform(90, 160), rng.uniform(15, 45)
        ph = rng.uniform(7.0, 8.5)
    na, k = rng.uniform(4, 60), rng.uniform(0.5, 8)
    cations = 2 * ca / MOLAR["Ca"] + 2 * mg / MOLAR["Mg"] + na / MOLAR["Na"] + k / MOLAR["K"]
    hco3 = cations * rng.uniform(0.3, 0.7)
    rest = cations * rng.uniform(0.97, 1.03) - hco3
    share_cl, share_no3 = rng.uniform(0.2, 0.5), rng.uniform(0.02, 0.2)
    cl = rest * share_cl * MOLAR["Cl"]
    no3 = rest * share_no3 * MOLAR["NO3"]
    so4 = rest * (1 - share_cl - share_no3) / 2 * MOLAR["SO4"]
    temp = rng.uniform(7, 18)
    # Free CO2 from the first dissociation (pK1 about 6.4 at 10 degC).
    co2 = hco3 * 10 ** (6.4 - ph)
    w = {
        "pH": ph, "tempPH": temp, "tempCalc": round(temp), "conductivity": 9.8 * cations
        * rng.uniform(0.94, 1.06), "ks43": hco3, "tempTitr43": temp,
        "kb82": co2 if ph < 8.2 else 0.0, "ks82": 0.0 if ph < 8.2 else hco3 * 10 ** (ph - 10.3),
        "tempTitr82": temp, "massCa": ca, "massMg": mg, "massNa": na, "massK": k,
        "massCl": cl, "massNO3": no3, "massSO4": so4,
        "massPO4": rng.choice([0, 0, 0, rng.uniform(0.05, 1.5)]),
        "massNH4": rng.choice([0, 0, rng.uniform(0.01, 0.3)]),
        "massFe": rng.choice([0, 0, rng.uniform(0.01, 0.5)]),
        "massMn": rng.choice([0, 0, 0, rng.uniform(0.01, 0.1)]),
        "oxygen": rng.uniform(0.5, 11), "toc": rng.uniform(0.3, 4),
        "dic": hco3 + co2,
    }
    return w


COLUMNS = ["id", "text", "pH", "tempPH", "tempCalc", "conductivity", "ks43", "tempTitr43",
           "kb82", "ks82", "tempTitr82", "massCa", "massMg", "massNa", "massK", "massCl",
           "massNO3", "massSO4", "massPO4", "massNH4", "massFe", "massMn", "oxygen", "toc"]
DECIMALS = {"pH": 2, "tempPH": 1, "tempCalc": 0, "conductivity": 1, "ks43": 2,
            "tempTitr43": 1, "kb82": 3, "ks82": 3, "tempTitr82": 1, "oxygen": 1, "toc": 1,
            "massPO4": 2, "massNH4": 2, "massFe": 2, "massMn": 3, "dic": 3}


def number(value, decimals, comma):
    text = f"{value:.{decimals}f}"
    return text.replace(".", ",") if comma else text


def campaign(path, places, sep, comma, bom, seed, count):
    rng = random.Random(seed)
    buf = io.StringIO()
    out = csv.writer(buf, delimiter=sep, lineterminator="\r\n")
    out.writerow(COLUMNS)
    for i in range(count):
        w = water(rng)
        place = rng.choice(places)
        cells = [f"W{i + 1:03d}", f"{place} {rng.randint(1, 40)}"]
        for c in COLUMNS[2:]:
            cells.append(number(w[c], DECIMALS.get(c, 1), comma))
        out.writerow(cells)
    data = buf.getvalue()
    path.write_bytes((b"\xef\xbb\xbf" if bom else b"") + data.encode("utf-8"))


def test_file(path, seed, count):
    """Every way a value may come: mmol/L, mg/L or both, the DIC family, a hand-set ionic
    strength, conductivity at 20 degC, ranges the form corrects, columns left empty."""
    rng = random.Random(seed)
    cols = ["id", "text", "pH", "tempPH", "tempCalc", "conductivity", "condRefTemp", "ks43",
            "tempTitr43", "kb82", "ks82", "tempTitr82", "dic", "dicMode", "iosMode",
            "iosInput", "cCa", "massCa", "cMg", "massMg", "massNa", "cK", "massCl", "massNO3",
            "cSO4", "massPO4", "massNH4", "massFe", "massMn", "oxygen", "toc"]
    lines = [",".join(cols)]
    for i in range(count):
        w = water(rng)
        v = {"id": f"T{i + 1:02d}", "text": f"Test water {i + 1}"}
        for c in ["pH", "tempPH", "tempCalc", "conductivity", "ks43", "tempTitr43", "kb82",
                  "ks82", "tempTitr82", "massNa", "massCl", "massNO3", "massPO4", "massNH4",
                  "massFe", "massMn", "oxygen", "toc"]:
            v[c] = number(w[c], DECIMALS.get(c, 1), False)
        ca, mg = w["massCa"], w["massMg"]
        form = i % 3
        if form == 0:
            v["massCa"], v["massMg"] = f"{ca:.1f}", f"{mg:.2f}"
        elif form == 1:
            v["cCa"], v["cMg"] = f"{ca / MOLAR['Ca']:.3f}", f"{mg / MOLAR['Mg']:.3f}"
        else:
            v["cCa"], v["massCa"] = f"{ca / MOLAR['Ca']:.3f}", f"{ca:.2f}"
            v["massMg"] = f"{mg:.1f}"
        v["cK"] = f"{w['massK'] / MOLAR['K']:.3f}"
        v["cSO4"] = f"{w['massSO4'] / MOLAR['SO4']:.3f}"
        if i % 4 == 1:
            v["dicMode"], v["dic"] = "DIC", f"{w['dic']:.3f}"
        if i % 5 == 2:
            v["iosMode"], v["iosInput"] = "ZEB", f"{rng.uniform(2, 15):.2f}"
        if i % 6 == 3:
            v["condRefTemp"] = "20"
            v["conductivity"] = f"{w['conductivity'] / 1.116:.1f}"
        if i % 7 == 4:
            v["tempCalc"] = str(rng.choice([5, 25, 40, 60]))
        if i == 9:
            v["pH"] = "4.10"  # below the range: computed at 4.300
        if i == 10:
            v["ks43"] = "0.02"  # below the range: computed at 0.050
        if i == 11:
            v["cCa"], v["massCa"] = "1.500", "75.0"  # the units disagree: mmol/L holds
        if i == 12:
            v["tempCalc"] = "95"  # above the range, kept
        if i == 13:
            for c in ["conductivity", "kb82", "massNO3", "massNH4", "oxygen"]:
                v.pop(c, None)  # empty: the default water's zero
        lines.append(",".join(v.get(c, "") for c in cols))
    path.write_text("\n".join(lines) + "\n", encoding="utf-8")


if __name__ == "__main__":
    examples = ROOT / "resources" / "examples"
    campaign(examples / "campaign_de.csv", PLACES_DE, ";", True, True, 4216, 200)
    campaign(examples / "campaign_en.csv", PLACES_EN, ",", False, False, 1406, 200)
    test_file(ROOT / "tests" / "data" / "batch_waters.csv", 52, 54)
    campaign(ROOT / "bench" / "waters_1000.csv", PLACES_EN, ",", False, False, 1000, 1000)
