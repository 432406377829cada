#!/usr/bin/env python3
"""Check predicted-set and variable-catalogue JSON files (docs/predicted-set-format.md).

Usage: scripts/check-content.py [FILE...]     (default: data/store/*.json)

Checks each file's structure, GUID texts, author references, duplicate equation
records, capacities and every equation text (parses, balanced parentheses, only the
tokens and functions the calculators know), then checks the files against each other
(authors shared between files, set names, variable numbers against the catalogues).
Prints one line per problem with its place; exit status 1 when any error was found.
Standard library only.
"""

import glob
import json
import os
import re
import sys

GUID_RE = re.compile(r"^\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\}$")

FUNCTIONS = {"EXP", "LN", "LOG", "LOG10", "SQRT", "ABS", "POWER", "MIN", "MAX", "IF", "INT", "ROUND"}

# Names the PF calculator replaces, in its replacement order.
PF_DEMOGRAPHIC = ["JHAGE", "AGEADJUST", "AGETRUNC", "AGE", "HEIGHTINCHES", "HEIGHTCM", "HEIGHTMETERS",
                  "WEIGHTPOUNDS", "WEIGHTKG", "BSA", "BMI", "YEARSOFSMOKING", "SMOKETYPE", "ARMSPAN",
                  "OBSVA", "OBSTGV", "OBSVPANT", "VA", "TGV", "VPANT"]
PF_OBSERVED = ["OBSVA", "OBSTGV", "OBSVPANT", "VA", "TGV", "VPANT"]
SPLINE_VARS = {"GLI_": ["FEV1", "FVC", "FFEV1FVC", "FEF2575", "FEF75"],
               "STAN_": ["FEV1", "FVC", "FFEV1FVC", "FEF2575"]}
PF_SPLINE = {f"{p}{part}_SPLINE_{v}" for p, vs in SPLINE_VARS.items() for v in vs for part in ("M", "S", "L")}
PF_RACE = ["AFRICAN_AMERICAN", "NEASIA", "SEASIA", "OTHER"]
PF_TOKENS = set(PF_DEMOGRAPHIC) | PF_SPLINE | set(PF_RACE)

# Names the GX calculator replaces, in its replacement order; the four with a space
# are written as they appear in equations.
GX_TOKENS_ORDERED = ["AGETRUNC", "AGE", "HEIGHTINCHES", "HEIGHTCM", "HEIGHTMETERS", "WEIGHTPOUNDS",
                     "IDEALWEIGHTKG", "WEIGHTKG", "BSA", "BMI", "YEARSOFSMOKING", "SMOKETYPE", "ARMSPAN",
                     "HR", "BP", "VE_STPD", "VE_BTPS", "VO2_BIKE", "VO2_TMLL", "VO2_KG_BIKE", "VO2_KG_TMLL",
                     "VCO2_BIKE", "VCO2_TMLL", "PREDICTED FEV1", "MEASURED FEV1", "PREDICTED MVV",
                     "MEASURED MVV", "GXPEDLOWER", "FFM"]
GX_MULTIWORD = [t for t in GX_TOKENS_ORDERED if " " in t]
# Grid order of the GX quantities and the name each row fills for later rows.
GX_ROW_ORDER = [1, 2, 3, 27, 4, 5, 6, 7, 8, 11, 12, 9, 10, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26]
GX_ROW_FILLS = {1: ["HR"], 2: ["BP"], 4: ["VE_BTPS", "VE_STPD"], 5: ["VO2_BIKE"], 6: ["VO2_TMLL"],
                7: ["VCO2_BIKE"], 8: ["VCO2_TMLL"], 11: ["VO2_KG_BIKE"], 12: ["VO2_KG_TMLL"]}
GX_SET_QUANTITIES = {5, 6, 15, 16, 25, 26}

VALID_TEST_TYPES = set(range(0, 28)) - {6, 7, 14, 24}
PF_CAPACITY, GX_CAPACITY = 100, 50
RACE_GROUP_KEYS = ["raceGroup0", "raceGroup1", "raceGroup2", "raceGroup3"]
SEXES = ["male", "female"]


class Report:
    def __init__(self):
        self.errors = 0
        self.warnings = 0

    def error(self, where, msg):
        self.errors += 1
        print(f"error: {where}: {msg}")

    def warn(self, where, msg):
        self.warnings += 1
        print(f"warning: {where}: {msg}")


# ---------------------------------------------------------------- equation texts

TOKEN_RE = re.compile(r"\s*(?:(?P<num>\d+(?:\.\d*)?|\.\d+)|(?P<id>[A-Za-z_][A-Za-z0-9_]*)"
                      r"|(?P<op><=|>=|<>|[-+*/^(),<>]))")


def tokenize(text):
    pos, out = 0, []
    while pos < len(text):
        m = TOKEN_RE.match(text, pos)
        if not m or m.end() == pos:
            if text[pos:].strip() == "":
                break
            raise ValueError(f"unexpected character {text[pos]!r} at {pos}")
        pos = m.end()
        for kind in ("num", "id", "op"):
            if m.group(kind) is not None:
                out.append((kind, m.group(kind), m.start(kind)))
    return out


class Parser:
    """Spreadsheet formula syntax; a sign binds tighter than ^, as in spreadsheets."""

    def __init__(self, tokens):
        self.t, self.i = tokens, 0
        self.identifiers, self.functions, self.sign_power = [], [], False

    def peek(self):
        return self.t[self.i] if self.i < len(self.t) else (None, None, -1)

    def take(self, value=None):
        tok = self.peek()
        if tok[0] is None or (value is not None and tok[1] != value):
            raise ValueError(f"expected {value or 'more'} at token {self.i}")
        self.i += 1
        return tok

    def parse(self):
        self.comparison()
        if self.i != len(self.t):
            raise ValueError(f"unexpected {self.peek()[1]!r} after the end of the expression")

    def comparison(self):
        self.additive()
        while self.peek()[1] in ("<", ">", "<=", ">=", "<>"):
            self.take()
            self.additive()

    def additive(self):
        self.term()
        while self.peek()[1] in ("+", "-"):
            self.take()
            self.term()

    def term(self):
        self.factor()
        while self.peek()[1] in ("*", "/"):
            self.take()
            self.factor()

    def factor(self):
        signed = self.signed()
        while self.peek()[1] == "^":
            if signed:
                self.sign_power = True
            self.take()
            signed = self.signed()

    def signed(self):
        signed = False
        while self.peek()[1] in ("+", "-"):
            self.take()
            signed = True
        self.primary()
        return signed

    def primary(self):
        kind, value, _ = self.take()
        if kind == "num":
            return
        if kind == "id":
            if self.peek()[1] == "(":
                self.functions.append(value)
                self.take("(")
                if self.peek()[1] != ")":
                    self.comparison()
                    while self.peek()[1] == ",":
                        self.take()
                        self.comparison()
                self.take(")")
            else:
                self.identifiers.append(value)
            return
        if value == "(":
            self.comparison()
            self.take(")")
            return
        raise ValueError(f"unexpected {value!r}")


def check_equation(rep, where, text, kind, variable=None):
    """kind 'pf' or 'gx'. Returns the identifiers used (for further checks)."""
    if not isinstance(text, str):
        rep.error(where, "equation is not a text")
        return []
    if text == "":
        return []
    if kind == "pf" and text.strip().lower() == "caucasian":
        return []
    body = text[1:] if text.startswith("=") else text
    if "=" in body:
        rep.error(where, "'=' inside an equation (the calculators remove it)")
        return []
    if text != text.upper():
        rep.warn(where, "lower-case letters (the calculators upper-case equations)")
    body = body.upper()
    if body.count("(") != body.count(")"):
        rep.error(where, "unbalanced parentheses")
        return []
    if kind == "gx":
        for i, name in enumerate(GX_MULTIWORD):
            body = body.replace(name, f"GXMULTI{i}")
    try:
        parser = Parser(tokenize(body))
        parser.parse()
    except ValueError as exc:
        rep.error(where, f"does not parse: {exc}")
        return []
    if parser.sign_power:
        rep.warn(where, "a signed operand before '^' (spreadsheets apply the sign first)")
    for f in parser.functions:
        if f not in FUNCTIONS:
            rep.error(where, f"unknown function {f}")
    known = PF_TOKENS if kind == "pf" else set(GX_TOKENS_ORDERED)
    used = []
    for ident in parser.identifiers:
        if kind == "gx" and ident.startswith("GXMULTI"):
            used.append(GX_MULTIWORD[int(ident[7:])])
        elif ident in known:
            used.append(ident)
        else:
            rep.error(where, f"unknown name {ident}")
    if kind == "pf":
        for prefix in SPLINE_VARS:
            if body.startswith(prefix):
                rep.error(where, f"begins with {prefix} (the spline tables leave such an equation unchanged)")
    return used


# ---------------------------------------------------------------- structure helpers

def expect_keys(rep, where, obj, required, optional=()):
    if not isinstance(obj, dict):
        rep.error(where, "expected an object")
        return False
    for k in required:
        if k not in obj:
            rep.error(where, f"missing field {k!r}")
    for k in obj:
        if k not in required and k not in optional:
            rep.error(where, f"unknown field {k!r}")
    return all(k in obj for k in required)


def expect_type(rep, where, value, types, what):
    # bool is an int in Python: keep them apart
    if isinstance(value, bool) and bool not in types:
        rep.error(where, f"{what} must be {'/'.join(t.__name__ for t in types)}")
        return False
    if not isinstance(value, types):
        rep.error(where, f"{what} must be {'/'.join(t.__name__ for t in types)}")
        return False
    return True


def check_guid(rep, where, text, allow_empty=False):
    if allow_empty and text == "":
        return
    if not isinstance(text, str) or not GUID_RE.match(text):
        rep.error(where, f"GUID {text!r} is not upper-case text of the form {{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}}")


def check_age_ranges(rep, where, ranges):
    valid = []
    if not (isinstance(ranges, list) and len(ranges) == 3):
        rep.error(where, "ageRanges must hold three [lower, upper] pairs")
        return valid
    for k, pair in enumerate(ranges):
        if not (isinstance(pair, list) and len(pair) == 2 and all(isinstance(x, int) and not isinstance(x, bool)
                                                                 for x in pair)):
            rep.error(f"{where}[{k}]", "expected [lower, upper] whole years")
            continue
        lo, hi = pair
        if lo == -1 and hi == -1:
            continue
        if lo < 0 or hi < lo:
            rep.error(f"{where}[{k}]", f"range {lo}-{hi} is neither unused (-1, -1) nor lower <= upper")
            continue
        valid.append(k)
    return valid


def by_sex(rep, where, obj, length, check_item):
    if not expect_keys(rep, where, obj, SEXES):
        return
    for sex in SEXES:
        arr = obj[sex]
        if not (isinstance(arr, list) and len(arr) == length):
            rep.error(f"{where}.{sex}", f"expected {length} entries")
            continue
        for a, item in enumerate(arr):
            check_item(f"{where}.{sex}[{a}]", sex, a, item)


# ---------------------------------------------------------------- predicted-set files

def check_predset(rep, path, doc, ctx):
    kind = doc.get("kind")
    if kind not in ("pf", "gx"):
        rep.error(path, "kind must be 'pf' or 'gx'")
        return
    if not expect_keys(rep, path, doc, ["format", "version", "kind", "predSet", "authors"]):
        return
    pf = kind == "pf"
    set_ = doc["predSet"]
    sw = f"{path}: predSet"
    req = ["name", "guid", "authorChoices"] + (["ageGroups", "raceCorrections"] if pf else ["options"])
    if not expect_keys(rep, sw, set_, req, ["flag", "source"]):
        return
    if not isinstance(set_["name"], str) or not set_["name"]:
        rep.error(sw, "name must be a non-empty text")
    check_guid(rep, f"{sw}.guid", set_["guid"])
    if "flag" in set_:
        expect_type(rep, f"{sw}.flag", set_["flag"], (bool,), "flag")
    ctx["sets"].append((kind, set_.get("name"), path))

    if pf:
        ag = set_["ageGroups"]
        if expect_keys(rep, f"{sw}.ageGroups", ag, ["guid", "vcUsesFvcEquation", "ageRanges"]):
            check_guid(rep, f"{sw}.ageGroups.guid", ag["guid"])
            expect_type(rep, f"{sw}.ageGroups.vcUsesFvcEquation", ag["vcUsesFvcEquation"], (bool,), "value")
            groups = check_age_ranges(rep, f"{sw}.ageGroups.ageRanges", ag["ageRanges"])
        else:
            groups = []
    else:
        op = set_["options"]
        flags = ["vco2Option", "trueGasOption", "perKilogramOption", "metsOption", "oxygenPulseOption",
                 "veVo2Option", "veVco2Option", "obesityRuleOffOption"]
        factors = ["vco2Factor", "maleBmiLimit", "femaleBmiLimit", "gasFactor", "fev1Factor"]
        if expect_keys(rep, f"{sw}.options", op, ["guid", "ageRanges", "mvvMethod"] + flags + factors):
            check_guid(rep, f"{sw}.options.guid", op["guid"])
            for f in flags:
                expect_type(rep, f"{sw}.options.{f}", op[f], (bool,), "value")
            for f in factors:
                expect_type(rep, f"{sw}.options.{f}", op[f], (int, float), "value")
            if op["mvvMethod"] not in (0, 1, 2, 3) or isinstance(op["mvvMethod"], bool):
                rep.error(f"{sw}.options.mvvMethod", "must be 0, 1, 2 or 3")
            groups = check_age_ranges(rep, f"{sw}.options.ageRanges", op["ageRanges"]) + [3]
        else:
            groups = [0, 1, 2, 3]

    # authors of the file
    authors = {}
    if not isinstance(doc["authors"], list):
        rep.error(path, "authors must be a list")
        return
    for i, au in enumerate(doc["authors"]):
        aw = f"{path}: authors[{i}]"
        req = ["name", "guid", "equations"]
        opt = ["singleEquation", "siUnits", "flag3", "source"] if pf else ["flag", "source"]
        if not expect_keys(rep, aw, au, req, opt):
            continue
        if not isinstance(au["name"], str) or au["name"] == "":
            rep.error(aw, "empty author name (Validate error code 1)")
        if "source" not in au or not au["source"]:
            rep.error(aw, "no source citation")
        check_guid(rep, f"{aw}.guid", au["guid"])
        for f in opt[:-1]:
            if f in au:
                expect_type(rep, f"{aw}.{f}", au[f], (bool,), f)
        if au["guid"] in authors:
            rep.error(aw, f"author GUID {au['guid']} used twice in this file")
        authors[au["guid"]] = au
        ctx["authors"].setdefault((kind, au["guid"]), []).append((path, au))
        check_author_equations(rep, aw, au, pf, ctx)

    # author choices
    seen_vars = set()
    for j, ch in enumerate(set_["authorChoices"]):
        cw = f"{sw}.authorChoices[{j}]"
        if not expect_keys(rep, cw, ch, ["variableNumber", "authorNames", "authorGuids"], ["source"]):
            continue
        var = ch["variableNumber"]
        expect_type(rep, f"{cw}.variableNumber", var, (int,), "variableNumber")
        ctx["used_vars"].append((kind, var, cw))
        if var in seen_vars:
            rep.warn(cw, f"second choice for variable {var}")
        seen_vars.add(var)
        n = 3 if pf else 4
        names = {}
        by_sex(rep, f"{cw}.authorNames", ch["authorNames"], n,
               lambda w, s, a, x: names.__setitem__((s, a), x) if isinstance(x, str) else rep.error(w, "not a text"))
        guids = {}
        by_sex(rep, f"{cw}.authorGuids", ch["authorGuids"], n,
               lambda w, s, a, x: guids.__setitem__((s, a), x) if isinstance(x, str) else rep.error(w, "not a text"))
        for (s, a), g in guids.items():
            name = names.get((s, a), "")
            where = f"{cw} ({s}, age group {a})"
            if (g == "") != (name == ""):
                rep.error(where, "author name and GUID must both be set or both be empty")
                continue
            if g == "":
                continue
            check_guid(rep, where, g)
            au = authors.get(g)
            if au is None:
                rep.error(where, f"author GUID {g} is not among the file's authors")
                continue
            if name != au.get("name") and (cw, name) not in ctx["reported"]:
                ctx["reported"].add((cw, name))
                rep.warn(cw, f"name {name!r} differs from the author's name {au.get('name')!r}")
            if a not in groups:
                rep.warn(where, "age group has no age range")
            check_choice_equations(rep, where, au, var, s, a, pf, ctx["reported"])

    named = set()
    for ch in set_["authorChoices"]:
        if isinstance(ch, dict) and isinstance(ch.get("authorGuids"), dict):
            for arr in ch["authorGuids"].values():
                named.update(arr if isinstance(arr, list) else [])
    for g, au in authors.items():
        if g not in named:
            rep.warn(f"{path}: author {au.get('name')!r}", "no author choice of the set names it")

    if pf:
        first = {}
        for k, rc in enumerate(set_["raceCorrections"]):
            rw = f"{sw}.raceCorrections[{k}]"
            if not expect_keys(rep, rw, rc, ["variableNumber", "factors"], ["source"]):
                continue
            if rc["variableNumber"] in first:
                rep.warn(rw, f"variable {rc['variableNumber']} already corrected at index "
                             f"{first[rc['variableNumber']]}; only the first entry counts")
            first.setdefault(rc["variableNumber"], k)
            ctx["used_vars"].append((kind, rc["variableNumber"], rw))
            f = rc["factors"]
            if not (isinstance(f, list) and len(f) == 4 and all(isinstance(x, (int, float))
                                                                 and not isinstance(x, bool) for x in f)):
                rep.error(rw, "factors must be four numbers (races 1, 2, 3, and 4/6/7)")
            elif any(x <= 0 for x in f):
                rep.warn(rw, "a factor at or below 0")
    else:
        for j, ch in enumerate(set_["authorChoices"]):
            if isinstance(ch, dict) and ch.get("variableNumber") not in GX_SET_QUANTITIES:
                rep.warn(f"{sw}.authorChoices[{j}]",
                         f"the GX calculator takes equations only for quantities {sorted(GX_SET_QUANTITIES)}")


def check_author_equations(rep, aw, au, pf, ctx):
    eqs = au["equations"]
    if not isinstance(eqs, list):
        rep.error(aw, "equations must be a list")
        return
    cap = PF_CAPACITY if pf else GX_CAPACITY
    if len(eqs) > cap:
        rep.error(aw, f"{len(eqs)} equation records; an author holds at most {cap}")
    seen = {}
    for i, rec in enumerate(eqs):
        ew = f"{aw}.equations[{i}]"
        req = ["variableNumber", "guid", "equations"] + (["kind"] if pf else [])
        if not expect_keys(rep, ew, rec, req, ["source"]):
            continue
        if not rec.get("source"):
            rep.error(ew, "no source citation")
        var = rec["variableNumber"]
        expect_type(rep, f"{ew}.variableNumber", var, (int,), "variableNumber")
        ctx["used_vars"].append(("pf" if pf else "gx", var, ew))
        check_guid(rep, f"{ew}.guid", rec["guid"])
        if rec["guid"] in ctx["equation_guids"] and ctx["equation_guids"][rec["guid"]] is not rec:
            prev = ctx["equation_guids"][rec["guid"]]
            if prev != rec:
                rep.error(ew, f"equation GUID {rec['guid']} also names a different record")
        ctx["equation_guids"].setdefault(rec["guid"], rec)
        key = (var, rec.get("kind")) if pf else var
        if pf and rec["kind"] not in (0, 1):
            rep.error(f"{ew}.kind", "kind must be 0 (predicted value) or 1 (standard deviation)")
        if key in seen:
            rep.error(ew, f"duplicate equation record for variable {var}"
                          + (f", kind {rec['kind']}" if pf else "") + f" (first at index {seen[key]}; "
                          "Validate error code 3)")
        else:
            seen[key] = i
        if pf:
            e = rec["equations"]
            if not expect_keys(rep, f"{ew}.equations", e, RACE_GROUP_KEYS):
                continue
            for g, gk in enumerate(RACE_GROUP_KEYS):
                by_sex(rep, f"{ew}.equations.{gk}", e[gk], 3,
                       lambda w, s, a, x: check_pf_text(rep, w, x, var, ctx))
        else:
            by_sex(rep, f"{ew}.equations", rec["equations"], 4,
                   lambda w, s, a, x: check_gx_text(rep, w, x, var))


def check_pf_text(rep, where, text, var, ctx):
    used = check_equation(rep, where, text, "pf", var)
    test_type = ctx["pf_test_types"].get(var)
    if used and test_type in (4, 16) and any(t in PF_OBSERVED for t in used):
        rep.warn(where, "uses an observed value: sets the visit's uses-observed flag")
    if "ARMSPAN" in used:
        rep.warn(where, "ARMSPAN is in the configured height unit, not a fixed unit")


def check_gx_text(rep, where, text, var):
    used = check_equation(rep, where, text, "gx", var)
    if var in GX_ROW_ORDER:
        filled = set()
        for k in GX_ROW_ORDER[:GX_ROW_ORDER.index(var)]:
            filled.update(GX_ROW_FILLS.get(k, []))
        late = [t for t in used if t in sum(GX_ROW_FILLS.values(), []) and t not in filled]
        if late:
            rep.error(where, f"uses {', '.join(late)} before the grid row that computes it")


def check_choice_equations(rep, where, au, var, sex, age, pf, reported):
    recs = [r for r in au.get("equations", []) if isinstance(r, dict) and r.get("variableNumber") == var]
    if pf:
        single = au.get("singleEquation", True)
        for kind in (0, 1):
            kr = [r for r in recs if r.get("kind") == kind]
            if not kr:
                if kind == 0:
                    rep.error(where, f"author {au.get('name')!r} has no predicted-value record for variable {var}")
                elif (au.get("guid"), var) not in reported:
                    reported.add((au.get("guid"), var))
                    rep.warn(where.split(" (")[0], f"author {au.get('name')!r} has no standard-deviation record "
                                                   f"for variable {var}")
                continue
            e = kr[0].get("equations", {})
            groups = RACE_GROUP_KEYS[:1] if single else RACE_GROUP_KEYS
            for gk in groups:
                try:
                    text = e[gk][sex][age]
                except (KeyError, IndexError, TypeError):
                    continue
                if text == "":
                    what = "predicted value" if kind == 0 else "standard deviation"
                    rep.error(where, f"{what} of variable {var} is empty for {gk} although the set chooses "
                                     f"{au.get('name')!r} here")
    else:
        if not recs:
            rep.error(where, f"author {au.get('name')!r} has no record for quantity {var}")
            return
        try:
            text = recs[0]["equations"][sex][age]
        except (KeyError, IndexError, TypeError):
            return
        if text == "":
            rep.error(where, f"equation of quantity {var} is empty although the set chooses {au.get('name')!r}")


# ---------------------------------------------------------------- catalogue files

def check_catalogue(rep, path, doc, ctx):
    if not expect_keys(rep, path, doc, ["format", "version", "variableSet", "variables"]):
        return
    vs = doc["variableSet"]
    if vs not in (253, 254):
        rep.error(path, "variableSet must be 254 (PF) or 253 (GX)")
        return
    kind = "pf" if vs == 254 else "gx"
    if kind in ctx["catalogues"]:
        rep.error(path, f"second catalogue for variable set {vs}")
    numbers = {}
    order = []
    for i, v in enumerate(doc["variables"]):
        w = f"{path}: variables[{i}]"
        opt = ["unit", "conventionalUnit", "source", "text4", "text5", "text6", "value1", "flag1",
               "values", "flags"]
        if not expect_keys(rep, w, v, ["variableNumber", "name", "testType", "decimals"], opt):
            continue
        n = v["variableNumber"]
        if not expect_type(rep, w, n, (int,), "variableNumber"):
            continue
        if n < 0:
            rep.error(w, "variable numbers are not negative")
        if n in numbers:
            rep.error(w, f"variable {n} listed twice (first at index {numbers[n]})")
        numbers[n] = i
        order.append(n)
        if not isinstance(v["name"], str) or not v["name"]:
            rep.error(w, "name must be a non-empty text")
        if v["testType"] not in VALID_TEST_TYPES or isinstance(v["testType"], bool):
            rep.error(w, f"invalid test type {v['testType']}")
        d = v["decimals"]
        if not isinstance(d, int) or isinstance(d, bool) or not 0 <= d <= 255:
            rep.error(w, "decimals must be 0 ... 255")
        if "values" in v and not (isinstance(v["values"], list) and len(v["values"]) == 9):
            rep.error(w, "values must hold nine numbers")
        if "flags" in v and not (isinstance(v["flags"], list) and len(v["flags"]) == 3):
            rep.error(w, "flags must hold three booleans")
        is_fot = str(v.get("source", "")).upper() == "[FOTDATA]"
        if kind == "pf" and v["testType"] == 25 and not is_fot:
            rep.warn(w, "FOT variable without the source [FOTData]")
        if kind == "pf":
            ctx["pf_test_types"][n] = v["testType"]
    if kind == "pf" and 2 in numbers and 52 in numbers and numbers[52] < numbers[2]:
        rep.error(path, "variable 52 comes before variable 2: vcUsesFvcEquation would find no FVC equation")
    ctx["catalogues"][kind] = set(numbers)


# ---------------------------------------------------------------- driver

def main(argv):
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    files = argv[1:] or sorted(glob.glob(os.path.join(root, "data", "store", "*.json")))
    rep = Report()
    ctx = {"sets": [], "authors": {}, "equation_guids": {}, "used_vars": [], "catalogues": {},
           "pf_test_types": {}, "reported": set()}
    docs = []
    for path in files:
        name = os.path.relpath(path, root) if path.startswith(root) else path
        try:
            with open(path, encoding="utf-8") as f:
                doc = json.load(f)
        except (OSError, ValueError) as exc:
            rep.error(name, f"cannot read JSON: {exc}")
            continue
        if not isinstance(doc, dict) or doc.get("version") != 1:
            rep.error(name, "expected an object with version 1")
            continue
        docs.append((name, doc))
    # catalogues first: equation checks look at test types
    for name, doc in docs:
        if doc.get("format") == "kplpredicted-variables":
            check_catalogue(rep, name, doc, ctx)
    for name, doc in docs:
        fmt = doc.get("format")
        if fmt == "kplpredicted-predset":
            check_predset(rep, name, doc, ctx)
        elif fmt != "kplpredicted-variables":
            rep.error(name, f"unknown format {fmt!r}")

    seen = {}
    for kind, name, path in ctx["sets"]:
        if (kind, name) in seen:
            rep.error(path, f"{kind} set {name!r} also defined in {seen[(kind, name)]}")
        seen[(kind, name)] = path
    for (kind, g), uses in ctx["authors"].items():
        first_path, first = uses[0]
        for path, au in uses[1:]:
            if au != first:
                rep.error(path, f"author {g} differs from the one in {first_path}")
    for kind, var, where in ctx["used_vars"]:
        cat = ctx["catalogues"].get(kind)
        if cat is not None and var not in cat:
            rep.error(where, f"variable {var} is not in the {kind.upper()} catalogue")

    print(f"{len(docs)} file(s): {rep.errors} error(s), {rep.warnings} warning(s)")
    return 1 if rep.errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
