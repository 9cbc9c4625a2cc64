#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""An independent model of the Darcy-Colebrook method, written from the
handbook formulas rather than from the program, that fills in the expected
figures of tests/data/method-routes.cases.

    scripts/method-model.py            # rewrites the expected column in place
    scripts/method-model.py --check    # exits 1 when a line would change

Each case line is: name, settings (key=value;...), the route's rows as
"qty|flow|size|length|description|coef" joined by \\n, and the expected
figures per used row as "velocity|vp|loss|total|static" joined by \\n, each
to 10 significant digits ("-" for no static pressure), or the message that
stops the pass.
"""
import math
import re
import sys

CASES = "tests/data/method-routes.cases"

MATERIALS = {  # ft, mm: ASHRAE Handbook - Fundamentals (2017), ch. 21, Table 1
    "galvanised": (0.0003, 0.09), "stainless": (0.00015, 0.045), "aluminium": (0.00015, 0.045),
    "pvc": (0.00015, 0.045), "ductboard": (0.003, 0.9), "lined": (0.005, 1.52),
    "flex": (0.003, 0.9), "concrete": (0.01, 3.0),
}


def colebrook(re_, rel):
    if re_ < 2300:
        return 64 / re_
    f = 0.02
    for _ in range(100):  # plain fixed-point iteration, not Newton
        f = (-2 * math.log10(rel / 3.7 + 2.51 / (re_ * math.sqrt(f)))) ** -2
    return f


def val(text):
    m = re.match(r"\s*([-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?)", text)
    return float(m.group(1)) if m else 0.0


NAMES = {"galvanized": "galvanised", "stainless-steel": "stainless", "aluminum": "aluminium",
         "duct-board": "ductboard", "fibrous-glass": "ductboard", "lined-duct": "lined",
         "flexible": "flex", **{m: m for m in MATERIALS}}


def section(text):
    """(shape, a, b, material) of a size cell; material None for the route's."""
    material = None
    m = re.fullmatch(r"(.*?)([A-Za-z-]+)[ \t]*", text, re.S)
    if m and m.group(2).lower() in NAMES:
        text, material = m.group(1), NAMES[m.group(2).lower()]
    m = re.fullmatch(r"\s*(\d+\.?\d*|\.\d+)\s*(?:[xX\xd7]\s*(\d+\.?\d*|\.\d+)\s*(oval)?)?\s*",
                     text, re.I)
    if not m:
        return None
    a = float(m.group(1))
    if m.group(2) is None:
        return ("round", a, 0.0, material)
    b = float(m.group(2))
    if m.group(3):
        return ("oval", max(a, b), min(a, b), material)
    return ("rect", a, b, material)


def area_de(sec):
    kind, a, b, _ = sec
    if kind == "round":
        return math.pi * a * a / 4, a
    if kind == "rect":
        return a * b, 1.30 * (a * b) ** 0.625 / (a + b) ** 0.25
    area = math.pi * b * b / 4 + b * (a - b)
    return area, 1.55 * area ** 0.625 / (math.pi * b + 2 * (a - b)) ** 0.25


def figures(settings, rows):
    si = settings.get("units") == "si"
    # m3/s in one of the SI flow unit: 1 L = 1e-3 m3, 1 h = 3600 s.
    per_flow = {"l/s": 1e-3, "m3/h": 1 / 3600, "m3/s": 1.0}[settings.get("flow", "l/s")]
    rough = float(settings["roughness"]) if "roughness" in settings else \
        MATERIALS[settings.get("material", "galvanised")][1 if si else 0]
    standard = "air" not in settings
    if standard:
        rho = 1.204 if si else 0.075
        temp = 20.0 if si else 70.0
    else:
        kind, _, rest = settings["air"].partition(":")
        if kind == "density":
            rho, temp = float(rest), (20.0 if si else 70.0)
        else:
            z, temp = (float(v) for v in rest.split(","))
            rho = (1.204 * 293.15 / (temp + 273.15) * (1 - 2.25577e-5 * z) ** 5.2559) if si else \
                (0.075 * 530 / (temp + 460) * (1 - 6.8754e-6 * z) ** 5.2559)
    # Viscosity: the handbook's Re for standard air gives nu at the standard
    # temperature; Sutherland (S = 110.4 K) carries it to other temperatures.
    nu_std = 1e-3 / 66.4 if si else 1 / (720 * 8.56)
    mu_std = (1.204 if si else 0.075) * nu_std
    t_ref = 293.15 if si else (70 + 459.67) * 5 / 9
    t = temp + 273.15 if si else (temp + 459.67) * 5 / 9
    mu = mu_std * (t / t_ref) ** 1.5 * (t_ref + 110.4) / (t + 110.4)

    def vp(v):
        return rho * v * v / 2 if si else rho / 0.075 * (v / 4005) ** 2

    def reynolds(v, d):
        if standard:
            return (66.4 if si else 8.56) * d * v
        return rho * v * d / 1000 / mu if si else rho * v / 60 * d / 12 / mu

    for i, r in enumerate(rows):
        if r[3] and r[5]:
            return "Length and Loss Coef. entries should be on separate rows.\\rInspect row: %d" % (i + 1)
        if r[2] and section(r[2]) is None:
            return ("The size \"%s\" cannot be read; write a diameter (12), a rectangle (24x12) "
                    "or a flat oval (24x12 oval), and after it a material where the duct's "
                    "differs (12 flex).\\rInspect row: %d" % (r[2], i + 1))
    flow, sec, total, out = 0.0, None, 0.0, []
    for r in rows:
        if r[1]:
            flow = val(r[1])
        if r[2]:
            sec = section(r[2])
        v = p = loss = 0.0
        if r[3] or r[5]:
            qty = round(val(r[0])) if r[0] else 1
            if sec:
                area, de = area_de(sec)
                v = flow / (area / 144) if not si else flow * per_flow / (area * 1e-6)
                p = vp(v)
            coef, length = val(r[5]), val(r[3])
            if coef > 0:
                loss = qty * coef * p
            elif length != 0 and flow != 0:
                dl = de / 12 if not si else de / 1000
                ve = flow / (math.pi * dl * dl / 4) if not si else flow * per_flow / (math.pi * dl * dl / 4)
                own = MATERIALS[sec[3]][1 if si else 0] if sec[3] else rough
                rel = own * 12 / de if not si else own / de
                f = colebrook(reynolds(ve, de), rel)
                loss = qty * f * length / dl * vp(ve)
        total += loss
        # The static pressure after an item, from the total pressure where
        # the route begins; none on a row without an item or a size.
        static = "%.10g" % -(total + p) if (r[3] or r[5]) and sec else "-"
        out.append("|".join(["%.10g" % x for x in (v, p, loss, total)] + [static]))
    return "\\n".join(out)


def main():
    lines = open(CASES, encoding="latin-1").read().split("\n")
    changed = False
    for n, line in enumerate(lines):
        if not line.strip() or line.startswith("#"):
            continue
        fields = line.split("\t")
        settings = dict(kv.split("=", 1) for kv in fields[1].split(";") if kv)
        rows = [(r.split("|") + [""] * 6)[:6] for r in fields[2].split("\\n")]
        expected = figures(settings, rows)
        if fields[3:4] != [expected]:
            changed = True
            lines[n] = "\t".join(fields[:3] + [expected])
    if "--check" in sys.argv:
        sys.exit(1 if changed else 0)
    open(CASES, "w", encoding="latin-1").write("\n".join(lines))


if __name__ == "__main__":
    main()
