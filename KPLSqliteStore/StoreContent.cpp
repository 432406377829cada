#include "KPLSqliteStore/StoreContent.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <limits>
#include <map>
#include <set>
#include <tuple>

#include <nlohmann/json.hpp>

namespace kplstore {
namespace {

using json = nlohmann::json;
using ordered_json = nlohmann::ordered_json;

constexpr const char* kFormatPredSet = "kplpredicted-predset";
constexpr const char* kFormatVariables = "kplpredicted-variables";
constexpr int kPfEquationLimit = 100;
constexpr int kGxEquationLimit = 50;
constexpr const char* kSexKeys[2] = {"male", "female"};
constexpr const char* kGxFlagNames[8] = {"vco2Option",        "trueGasOption", "perKilogramOption",
                                         "metsOption",        "oxygenPulseOption", "veVo2Option",
                                         "veVco2Option",      "obesityRuleOffOption"};
constexpr const char* kGxFactorNames[5] = {"vco2Factor", "maleBmiLimit", "femaleBmiLimit", "gasFactor",
                                           "fev1Factor"};

// Names an equation may use, in the order the calculators replace them.
constexpr const char* kPfNames[] = {
    "JHAGE", "AGEADJUST", "AGETRUNC", "AGE", "HEIGHTINCHES", "HEIGHTCM", "HEIGHTMETERS", "WEIGHTPOUNDS",
    "WEIGHTKG", "BSA", "BMI", "YEARSOFSMOKING", "SMOKETYPE", "ARMSPAN", "OBSVA", "OBSTGV", "OBSVPANT", "VA",
    "TGV", "VPANT", "AFRICAN_AMERICAN", "NEASIA", "SEASIA", "OTHER"};
constexpr const char* kGxNames[] = {
    "AGETRUNC", "AGE", "HEIGHTINCHES", "HEIGHTCM", "HEIGHTMETERS", "WEIGHTPOUNDS", "IDEALWEIGHTKG", "WEIGHTKG",
    "BSA", "BMI", "YEARSOFSMOKING", "SMOKETYPE", "ARMSPAN", "HR", "BP", "VE_STPD", "VE_BTPS", "VO2_BIKE",
    "VO2_TMLL", "VO2_KG_BIKE", "VO2_KG_TMLL", "VCO2_BIKE", "VCO2_TMLL", "GXPEDLOWER", "FFM"};
// GX names written with a blank.
constexpr const char* kGxPhrases[] = {"PREDICTED FEV1", "MEASURED FEV1", "PREDICTED MVV", "MEASURED MVV"};

const std::set<std::string>& SplineNames() {
  static const std::set<std::string> names = [] {
    std::set<std::string> out;
    for (const char* kind : {"M", "S", "L"}) {
      for (const char* v : {"FEV1", "FVC", "FFEV1FVC", "FEF2575", "FEF75"})
        out.insert(std::string("GLI_") + kind + "_SPLINE_" + v);
      for (const char* v : {"FEV1", "FVC", "FFEV1FVC", "FEF2575"})
        out.insert(std::string("STAN_") + kind + "_SPLINE_" + v);
    }
    return out;
  }();
  return names;
}

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool IsGuid(const std::string& text) {
  static constexpr std::string_view kShape = "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
  if (text.size() != kShape.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (kShape[i] == 'X') {
      if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    } else if (c != kShape[i]) {
      return false;
    }
  }
  return true;
}

// Walks a document, collecting problems with their JSON paths.
class Reader {
 public:
  explicit Reader(std::vector<Problem>& problems) : problems_(problems) {}

  void Add(const std::string& where, std::string what) { problems_.push_back({where, std::move(what)}); }
  [[nodiscard]] std::size_t Count() const { return problems_.size(); }

  static std::string Field(const std::string& path, const char* key) {
    return path.empty() ? std::string(key) : path + "." + key;
  }
  static std::string Index(const std::string& path, std::size_t i) { return path + "[" + std::to_string(i) + "]"; }

  // True when `value` is an object; reports fields it does not know.
  bool Object(const json& value, const std::string& path, std::initializer_list<const char*> known) {
    if (!value.is_object()) {
      Add(path, "must be an object");
      return false;
    }
    for (const auto& [key, unused] : value.items()) {
      if (std::none_of(known.begin(), known.end(), [&](const char* k) { return key == k; }))
        Add(Field(path, key.c_str()), "unknown field");
    }
    return true;
  }

  const json* Member(const json& object, const std::string& path, const char* key, bool required) {
    auto it = object.find(key);
    if (it == object.end()) {
      if (required) Add(Field(path, key), "is missing");
      return nullptr;
    }
    return &*it;
  }

  void Text(const json& object, const std::string& path, const char* key, std::string& out, bool required = true,
            bool nonEmpty = false) {
    const json* v = Member(object, path, key, required);
    if (!v) return;
    if (!v->is_string()) {
      Add(Field(path, key), "must be a text");
      return;
    }
    out = v->get<std::string>();
    if (nonEmpty && out.empty()) Add(Field(path, key), "must not be empty");
  }

  void Guid(const json& object, const std::string& path, const char* key, std::string& out) {
    const std::size_t before = Count();
    Text(object, path, key, out);
    if (Count() == before && !IsGuid(out))
      Add(Field(path, key), "\"" + out + "\" is not a GUID of the form {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX} in upper case");
  }

  void Bool(const json& object, const std::string& path, const char* key, bool& out, bool required = false) {
    const json* v = Member(object, path, key, required);
    if (!v) return;
    if (!v->is_boolean()) {
      Add(Field(path, key), "must be true or false");
      return;
    }
    out = v->get<bool>();
  }

  bool IntValue(const json& v, const std::string& where, std::int32_t& out, std::int64_t lo, std::int64_t hi) {
    if (!v.is_number_integer()) {
      Add(where, "must be a whole number");
      return false;
    }
    const auto n = v.get<std::int64_t>();
    if (n < lo || n > hi) {
      Add(where, std::to_string(n) + " is outside " + std::to_string(lo) + " to " + std::to_string(hi));
      return false;
    }
    out = static_cast<std::int32_t>(n);
    return true;
  }

  void Int(const json& object, const std::string& path, const char* key, std::int32_t& out, std::int64_t lo,
           std::int64_t hi, bool required = true) {
    if (const json* v = Member(object, path, key, required)) IntValue(*v, Field(path, key), out, lo, hi);
  }

  bool NumberValue(const json& v, const std::string& where, double& out) {
    if (!v.is_number()) {
      Add(where, "must be a number");
      return false;
    }
    out = v.get<double>();
    return true;
  }

  void Number(const json& object, const std::string& path, const char* key, double& out, bool required = true) {
    if (const json* v = Member(object, path, key, required)) NumberValue(*v, Field(path, key), out);
  }

  // An array of exactly `size` elements (any size when 0).
  const json* Array(const json& object, const std::string& path, const char* key, std::size_t size,
                    bool required = true) {
    const json* v = Member(object, path, key, required);
    if (!v) return nullptr;
    if (!v->is_array()) {
      Add(Field(path, key), "must be an array");
      return nullptr;
    }
    if (size != 0 && v->size() != size) {
      Add(Field(path, key), "must hold " + std::to_string(size) + " elements, not " + std::to_string(v->size()));
      return nullptr;
    }
    return v;
  }

  void AgeRangesOf(const json& object, const std::string& path, AgeRanges& out) {
    const json* ranges = Array(object, path, "ageRanges", 3);
    if (!ranges) return;
    for (std::size_t k = 0; k < 3; ++k) {
      const std::string where = Index(Field(path, "ageRanges"), k);
      const json& pair = (*ranges)[k];
      if (!pair.is_array() || pair.size() != 2) {
        Add(where, "must be a [lower, upper] pair");
        continue;
      }
      IntValue(pair[0], Index(where, 0), out[k][0], -1, 200);
      IntValue(pair[1], Index(where, 1), out[k][1], -1, 200);
    }
  }

  // {"male": [n texts], "female": [n texts]} into out[(sex-1)*n + i].
  template <std::size_t N>
  void BySex(const json& object, const std::string& path, const char* key, std::array<std::string, N>& out,
             std::size_t perSex) {
    const json* v = Member(object, path, key, true);
    if (!v) return;
    const std::string where = Field(path, key);
    if (!Object(*v, where, {"male", "female"})) return;
    for (int s = 0; s < 2; ++s) {
      const json* texts = Array(*v, where, kSexKeys[s], perSex);
      if (!texts) continue;
      for (std::size_t i = 0; i < perSex; ++i) {
        const json& t = (*texts)[i];
        if (!t.is_string()) {
          Add(Index(Field(where, kSexKeys[s]), i), "must be a text");
          continue;
        }
        out[static_cast<std::size_t>(s) * perSex + i] = t.get<std::string>();
      }
    }
  }

 private:
  std::vector<Problem>& problems_;
};

std::string NamesOf(std::string_view text, bool gx, bool& unknownName, std::string& firstUnknown) {
  std::string upper = Upper(text);
  if (gx) {
    for (const std::string_view phrase : kGxPhrases) {
      std::string replaced;
      std::size_t from = 0;
      for (auto pos = upper.find(phrase); pos != std::string::npos; pos = upper.find(phrase, from)) {
        replaced.append(upper, from, pos - from);
        replaced += '1';
        from = pos + phrase.size();
      }
      replaced.append(upper, from, std::string::npos);
      upper.swap(replaced);
    }
  }
  std::string out;
  for (std::size_t i = 0; i < upper.size();) {
    const char c = upper[i];
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') {
      // A number, with an exponent.
      std::size_t j = i;
      while (j < upper.size() && (std::isdigit(static_cast<unsigned char>(upper[j])) || upper[j] == '.')) ++j;
      if (j < upper.size() && upper[j] == 'E') {
        std::size_t k = j + 1;
        if (k < upper.size() && (upper[k] == '+' || upper[k] == '-')) ++k;
        if (k < upper.size() && std::isdigit(static_cast<unsigned char>(upper[k]))) {
          j = k;
          while (j < upper.size() && std::isdigit(static_cast<unsigned char>(upper[j]))) ++j;
        }
      }
      out.append(upper, i, j - i);
      i = j;
    } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      std::size_t j = i;
      while (j < upper.size() && (std::isalnum(static_cast<unsigned char>(upper[j])) || upper[j] == '_')) ++j;
      const std::string name = upper.substr(i, j - i);
      bool known = false;
      if (gx) {
        known = std::any_of(std::begin(kGxNames), std::end(kGxNames), [&](const char* n) { return name == n; });
      } else {
        known = std::any_of(std::begin(kPfNames), std::end(kPfNames), [&](const char* n) { return name == n; }) ||
                SplineNames().count(name) != 0;
      }
      // A function name stands before "(": the evaluator knows them.
      std::size_t k = j;
      while (k < upper.size() && upper[k] == ' ') ++k;
      const bool call = k < upper.size() && upper[k] == '(';
      if (known) {
        out += "1";
      } else {
        if (!call && !unknownName) {
          unknownName = true;
          firstUnknown = name;
        }
        out += name;
      }
      i = j;
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

// ---- PF ----

void ReadPfEquationRecord(Reader& r, const json& v, const std::string& path, PfEquationRecord& out, bool single,
                          const FormulaChecker& checker) {
  if (!r.Object(v, path, {"variableNumber", "kind", "guid", "equations", "source"})) return;
  r.Int(v, path, "variableNumber", out.variableNumber, 0, std::numeric_limits<std::int32_t>::max());
  r.Int(v, path, "kind", out.kind, 0, 1);
  r.Guid(v, path, "guid", out.guid);
  r.Text(v, path, "source", out.source, false);
  const json* eq = r.Member(v, path, "equations", true);
  if (!eq) return;
  const std::string where = Reader::Field(path, "equations");
  if (!r.Object(*eq, where, {"raceGroup0", "raceGroup1", "raceGroup2", "raceGroup3"})) return;
  for (int g = 0; g < 4; ++g) {
    const std::string key = "raceGroup" + std::to_string(g);
    std::array<std::string, 6> texts;
    r.BySex(*eq, where, key.c_str(), texts, 3);
    for (int i = 0; i < 6; ++i) {
      out.equations[static_cast<std::size_t>(6 * g + i)] = texts[static_cast<std::size_t>(i)];
      if (single && g > 0) continue;  // ignored: race group 0 serves every race
      const std::string problem = CheckEquation(texts[static_cast<std::size_t>(i)], false, checker);
      if (!problem.empty())
        r.Add(Reader::Index(Reader::Field(Reader::Field(where, key.c_str()), kSexKeys[i / 3]), static_cast<std::size_t>(i % 3)),
              problem);
    }
  }
}

void ReadPfAuthor(Reader& r, const json& v, const std::string& path, PfAuthor& out, const FormulaChecker& checker) {
  if (!r.Object(v, path, {"name", "guid", "singleEquation", "siUnits", "flag3", "source", "equations"})) return;
  r.Text(v, path, "name", out.name);
  if (v.contains("name") && v["name"].is_string() && out.name.empty())
    r.Add(Reader::Field(path, "name"), "empty author name (error code 1)");
  r.Guid(v, path, "guid", out.guid);
  r.Bool(v, path, "singleEquation", out.singleEquation);
  r.Bool(v, path, "siUnits", out.siUnits);
  r.Bool(v, path, "flag3", out.flag3);
  r.Text(v, path, "source", out.source, false);
  const json* eqs = r.Array(v, path, "equations", 0);
  if (!eqs) return;
  const std::string where = Reader::Field(path, "equations");
  if (eqs->size() > kPfEquationLimit)
    r.Add(where, "more than " + std::to_string(kPfEquationLimit) + " equation records");
  std::map<std::pair<std::int32_t, std::int32_t>, std::size_t> seen;
  for (std::size_t i = 0; i < eqs->size(); ++i) {
    PfEquationRecord record;
    ReadPfEquationRecord(r, (*eqs)[i], Reader::Index(where, i), record, out.singleEquation, checker);
    auto [it, fresh] = seen.emplace(std::make_pair(record.variableNumber, record.kind), i);
    if (!fresh)
      r.Add(Reader::Index(where, i), "duplicate equation record for variable " + std::to_string(record.variableNumber) +
                                         " kind " + std::to_string(record.kind) + " (error code 3; first at [" +
                                         std::to_string(it->second) + "])");
    out.equations.push_back(std::move(record));
  }
}

template <std::size_t N>
void CheckChoiceGuids(Reader& r, const std::string& path, const std::array<std::string, N>& names,
                      const std::array<std::string, N>& guids, const std::set<std::string>& authorGuids,
                      std::size_t perSex) {
  for (std::size_t m = 0; m < N; ++m) {
    const std::string where =
        Reader::Index(Reader::Field(Reader::Field(path, "authorGuids"), kSexKeys[m / perSex]), m % perSex);
    if (names[m].empty() != guids[m].empty()) {
      r.Add(where, "an author name needs its GUID and a GUID its name");
    } else if (!guids[m].empty() && authorGuids.count(guids[m]) == 0) {
      r.Add(where, "Can't find Pred Author GUID: " + guids[m] + ".");
    }
  }
}

// The author choices of a set; `Choice` holds two sexes of equal halves.
template <class Choice>
void ReadChoices(Reader& r, const json& set, const std::set<std::string>& authorGuids, std::vector<Choice>& out) {
  constexpr std::size_t kPerSex = std::tuple_size_v<decltype(Choice::authorNames)> / 2;
  const json* choices = r.Array(set, "predSet", "authorChoices", 0);
  if (!choices) return;
  for (std::size_t i = 0; i < choices->size(); ++i) {
    const std::string where = Reader::Index("predSet.authorChoices", i);
    const json& v = (*choices)[i];
    Choice choice;
    if (r.Object(v, where, {"variableNumber", "authorNames", "authorGuids", "source"})) {
      r.Int(v, where, "variableNumber", choice.variableNumber, 0, std::numeric_limits<std::int32_t>::max());
      r.BySex(v, where, "authorNames", choice.authorNames, kPerSex);
      r.BySex(v, where, "authorGuids", choice.authorGuids, kPerSex);
      r.Text(v, where, "source", choice.source, false);
      CheckChoiceGuids(r, where, choice.authorNames, choice.authorGuids, authorGuids, kPerSex);
    }
    out.push_back(std::move(choice));
  }
}

std::optional<PfSetFile> ReadPf(Reader& r, const json& doc, const FormulaChecker& checker) {
  PfSetFile file;
  const std::size_t before = r.Count();
  // Authors first: the set's choices refer to them.
  std::set<std::string> authorGuids;
  if (const json* authors = r.Array(doc, "", "authors", 0)) {
    for (std::size_t i = 0; i < authors->size(); ++i) {
      PfAuthor author;
      ReadPfAuthor(r, (*authors)[i], Reader::Index("authors", i), author, checker);
      if (!author.guid.empty() && !authorGuids.insert(author.guid).second)
        r.Add(Reader::Field(Reader::Index("authors", i), "guid"), "a second author with the GUID " + author.guid);
      file.authors.push_back(std::move(author));
    }
  }
  const json* set = r.Member(doc, "", "predSet", true);
  if (set && r.Object(*set, "predSet", {"name", "guid", "flag", "source", "ageGroups", "authorChoices",
                                        "raceCorrections"})) {
    PfSet& s = file.set;
    r.Text(*set, "predSet", "name", s.name, true, true);
    r.Guid(*set, "predSet", "guid", s.guid);
    r.Bool(*set, "predSet", "flag", s.flag);
    r.Text(*set, "predSet", "source", s.source, false);
    if (const json* ag = r.Member(*set, "predSet", "ageGroups", true)) {
      const std::string where = "predSet.ageGroups";
      if (r.Object(*ag, where, {"guid", "vcUsesFvcEquation", "ageRanges"})) {
        r.Guid(*ag, where, "guid", s.ageGroupsGuid);
        r.Bool(*ag, where, "vcUsesFvcEquation", s.vcUsesFvcEquation, true);
        r.AgeRangesOf(*ag, where, s.ageRanges);
      }
    }
    ReadChoices(r, *set, authorGuids, s.authorChoices);
    if (const json* corrections = r.Array(*set, "predSet", "raceCorrections", 0)) {
      for (std::size_t i = 0; i < corrections->size(); ++i) {
        const std::string where = Reader::Index("predSet.raceCorrections", i);
        const json& v = (*corrections)[i];
        RaceCorrection rc;
        if (r.Object(v, where, {"variableNumber", "factors", "source"})) {
          r.Int(v, where, "variableNumber", rc.variableNumber, 0, std::numeric_limits<std::int32_t>::max());
          if (const json* f = r.Array(v, where, "factors", 4)) {
            for (std::size_t k = 0; k < 4; ++k) r.NumberValue((*f)[k], Reader::Index(Reader::Field(where, "factors"), k), rc.factors[k]);
          }
          r.Text(v, where, "source", rc.source, false);
        }
        s.raceCorrections.push_back(std::move(rc));
      }
    }
  }
  if (r.Count() != before) return std::nullopt;
  return file;
}

// ---- GX ----

std::optional<GxSetFile> ReadGx(Reader& r, const json& doc, const FormulaChecker& checker) {
  GxSetFile file;
  const std::size_t before = r.Count();
  std::set<std::string> authorGuids;
  if (const json* authors = r.Array(doc, "", "authors", 0)) {
    for (std::size_t i = 0; i < authors->size(); ++i) {
      const std::string path = Reader::Index("authors", i);
      const json& v = (*authors)[i];
      GxAuthor author;
      if (r.Object(v, path, {"name", "guid", "flag", "source", "equations"})) {
        r.Text(v, path, "name", author.name);
        if (v.contains("name") && v["name"].is_string() && author.name.empty())
          r.Add(Reader::Field(path, "name"), "empty author name (error code 1)");
        r.Guid(v, path, "guid", author.guid);
        r.Bool(v, path, "flag", author.flag);
        r.Text(v, path, "source", author.source, false);
        if (const json* eqs = r.Array(v, path, "equations", 0)) {
          const std::string where = Reader::Field(path, "equations");
          if (eqs->size() > kGxEquationLimit)
            r.Add(where, "more than " + std::to_string(kGxEquationLimit) + " equation records");
          std::map<std::int32_t, std::size_t> seen;
          for (std::size_t e = 0; e < eqs->size(); ++e) {
            const std::string epath = Reader::Index(where, e);
            const json& ev = (*eqs)[e];
            GxEquationRecord record;
            if (r.Object(ev, epath, {"variableNumber", "guid", "equations", "source"})) {
              r.Int(ev, epath, "variableNumber", record.variableNumber, 0, std::numeric_limits<std::int32_t>::max());
              r.Guid(ev, epath, "guid", record.guid);
              r.Text(ev, epath, "source", record.source, false);
              std::array<std::string, 8> byAgeGroup;
              r.BySex(ev, epath, "equations", byAgeGroup, 4);
              for (int s = 1; s <= 2; ++s) {
                for (int a = 0; a < 4; ++a) {
                  const std::string& text = byAgeGroup[static_cast<std::size_t>(4 * (s - 1) + a)];
                  record.equations[static_cast<std::size_t>(GxDeclaredIndex(s, a))] = text;
                  const std::string problem = CheckEquation(text, true, checker);
                  if (!problem.empty())
                    r.Add(Reader::Index(Reader::Field(Reader::Field(epath, "equations"), kSexKeys[s - 1]),
                                        static_cast<std::size_t>(a)),
                          problem);
                }
              }
            }
            auto [it, fresh] = seen.emplace(record.variableNumber, e);
            if (!fresh)
              r.Add(epath, "duplicate equation record for variable " + std::to_string(record.variableNumber) +
                               " (error code 3; first at [" + std::to_string(it->second) + "])");
            author.equations.push_back(std::move(record));
          }
        }
      }
      if (!author.guid.empty() && !authorGuids.insert(author.guid).second)
        r.Add(Reader::Field(path, "guid"), "a second author with the GUID " + author.guid);
      file.authors.push_back(std::move(author));
    }
  }
  const json* set = r.Member(doc, "", "predSet", true);
  if (set && r.Object(*set, "predSet", {"name", "guid", "flag", "source", "options", "authorChoices"})) {
    GxSet& s = file.set;
    r.Text(*set, "predSet", "name", s.name, true, true);
    r.Guid(*set, "predSet", "guid", s.guid);
    r.Bool(*set, "predSet", "flag", s.flag);
    r.Text(*set, "predSet", "source", s.source, false);
    if (const json* o = r.Member(*set, "predSet", "options", true)) {
      const std::string where = "predSet.options";
      if (r.Object(*o, where, {"guid", "vco2Option", "trueGasOption", "perKilogramOption", "metsOption",
                               "oxygenPulseOption", "veVo2Option", "veVco2Option", "obesityRuleOffOption",
                               "ageRanges", "mvvMethod", "vco2Factor", "maleBmiLimit", "femaleBmiLimit",
                               "gasFactor", "fev1Factor"})) {
        r.Guid(*o, where, "guid", s.options.guid);
        for (int k = 0; k < 8; ++k) r.Bool(*o, where, kGxFlagNames[k], s.options.flags[static_cast<std::size_t>(k)], true);
        r.AgeRangesOf(*o, where, s.options.ageRanges);
        r.Int(*o, where, "mvvMethod", s.options.mvvMethod, 0, 3);
        for (int k = 0; k < 5; ++k) r.Number(*o, where, kGxFactorNames[k], s.options.factors[static_cast<std::size_t>(k)]);
      }
    }
    ReadChoices(r, *set, authorGuids, s.authorChoices);
  }
  if (r.Count() != before) return std::nullopt;
  return file;
}

// ---- Catalogue ----

bool TestTypeAllowed(std::int32_t t) { return t >= 0 && t <= 27 && t != 6 && t != 7 && t != 14 && t != 24; }

std::optional<VariableCatalogue> ReadCatalogue(Reader& r, const json& doc) {
  VariableCatalogue catalogue;
  const std::size_t before = r.Count();
  r.Int(doc, "", "variableSet", catalogue.variableSet, 253, 254);
  std::map<std::int32_t, std::size_t> seen;
  if (const json* vars = r.Array(doc, "", "variables", 0)) {
    for (std::size_t i = 0; i < vars->size(); ++i) {
      const std::string path = Reader::Index("variables", i);
      const json& v = (*vars)[i];
      CatalogueVariable var;
      if (r.Object(v, path, {"variableNumber", "name", "testType", "decimals", "unit", "conventionalUnit", "source",
                             "text5", "text6", "value1", "flag1", "values", "flags"})) {
        r.Int(v, path, "variableNumber", var.variableNumber, 0, std::numeric_limits<std::int32_t>::max());
        r.Text(v, path, "name", var.name, true, true);
        r.Int(v, path, "testType", var.testType, 0, 27);
        if (!TestTypeAllowed(var.testType)) r.Add(Reader::Field(path, "testType"), "is not a test type");
        r.Int(v, path, "decimals", var.decimals, 0, 255);
        r.Text(v, path, "unit", var.unit, false);
        r.Text(v, path, "conventionalUnit", var.conventionalUnit, false);
        r.Text(v, path, "source", var.source, false);
        r.Text(v, path, "text5", var.text5, false);
        r.Text(v, path, "text6", var.text6, false);
        r.Number(v, path, "value1", var.value1, false);
        r.Bool(v, path, "flag1", var.flag1);
        if (const json* values = r.Array(v, path, "values", 9, false)) {
          for (std::size_t k = 0; k < 9; ++k) r.NumberValue((*values)[k], Reader::Index(Reader::Field(path, "values"), k), var.values[k]);
        }
        if (const json* flags = r.Array(v, path, "flags", 3, false)) {
          for (std::size_t k = 0; k < 3; ++k) {
            if (!(*flags)[k].is_boolean()) {
              r.Add(Reader::Index(Reader::Field(path, "flags"), k), "must be true or false");
            } else {
              var.flags[k] = (*flags)[k].get<bool>();
            }
          }
        }
        auto [it, fresh] = seen.emplace(var.variableNumber, i);
        if (!fresh)
          r.Add(Reader::Field(path, "variableNumber"), "variable " + std::to_string(var.variableNumber) +
                                                           " is listed twice (first at [" + std::to_string(it->second) + "])");
      }
      catalogue.variables.push_back(std::move(var));
    }
  }
  if (r.Count() != before) return std::nullopt;
  return catalogue;
}

// ---- Writing ----

template <std::size_t N>
ordered_json BySexJson(const std::array<std::string, N>& texts, std::size_t perSex) {
  ordered_json out = ordered_json::object();
  for (std::size_t s = 0; s < 2; ++s) {
    ordered_json list = ordered_json::array();
    for (std::size_t i = 0; i < perSex; ++i) list.push_back(texts[s * perSex + i]);
    out[kSexKeys[s]] = std::move(list);
  }
  return out;
}

ordered_json AgeRangesJson(const AgeRanges& ranges) {
  ordered_json out = ordered_json::array();
  for (const auto& r : ranges) out.push_back({r[0], r[1]});
  return out;
}

template <class Choice>
ordered_json ChoicesJson(const std::vector<Choice>& choices) {
  constexpr std::size_t kPerSex = std::tuple_size_v<decltype(Choice::authorNames)> / 2;
  ordered_json out = ordered_json::array();
  for (const auto& c : choices) {
    ordered_json j;
    j["variableNumber"] = c.variableNumber;
    j["authorNames"] = BySexJson(c.authorNames, kPerSex);
    j["authorGuids"] = BySexJson(c.authorGuids, kPerSex);
    j["source"] = c.source;
    out.push_back(std::move(j));
  }
  return out;
}

ordered_json WritePf(const PfSetFile& file) {
  const PfSet& s = file.set;
  ordered_json set;
  set["name"] = s.name;
  set["guid"] = s.guid;
  set["flag"] = s.flag;
  set["source"] = s.source;
  set["ageGroups"] = {{"guid", s.ageGroupsGuid}, {"vcUsesFvcEquation", s.vcUsesFvcEquation},
                      {"ageRanges", AgeRangesJson(s.ageRanges)}};
  set["authorChoices"] = ChoicesJson(s.authorChoices);
  ordered_json corrections = ordered_json::array();
  for (const auto& rc : s.raceCorrections) {
    ordered_json j;
    j["variableNumber"] = rc.variableNumber;
    j["factors"] = rc.factors;
    j["source"] = rc.source;
    corrections.push_back(std::move(j));
  }
  set["raceCorrections"] = std::move(corrections);

  ordered_json authors = ordered_json::array();
  for (const auto& a : file.authors) {
    ordered_json j;
    j["name"] = a.name;
    j["guid"] = a.guid;
    j["singleEquation"] = a.singleEquation;
    j["siUnits"] = a.siUnits;
    j["flag3"] = a.flag3;
    j["source"] = a.source;
    ordered_json records = ordered_json::array();
    for (const auto& q : a.equations) {
      ordered_json rj;
      rj["variableNumber"] = q.variableNumber;
      rj["kind"] = q.kind;
      rj["guid"] = q.guid;
      rj["source"] = q.source;
      ordered_json groups;
      for (std::size_t g = 0; g < 4; ++g) {
        std::array<std::string, 6> texts;
        std::copy_n(q.equations.begin() + static_cast<std::ptrdiff_t>(6 * g), 6, texts.begin());
        groups["raceGroup" + std::to_string(g)] = BySexJson(texts, 3);
      }
      rj["equations"] = std::move(groups);
      records.push_back(std::move(rj));
    }
    j["equations"] = std::move(records);
    authors.push_back(std::move(j));
  }
  ordered_json out;
  out["format"] = kFormatPredSet;
  out["version"] = 1;
  out["kind"] = "pf";
  out["predSet"] = std::move(set);
  out["authors"] = std::move(authors);
  return out;
}

ordered_json WriteGx(const GxSetFile& file) {
  const GxSet& s = file.set;
  ordered_json set;
  set["name"] = s.name;
  set["guid"] = s.guid;
  set["flag"] = s.flag;
  set["source"] = s.source;
  ordered_json options;
  options["guid"] = s.options.guid;
  for (int k = 0; k < 8; ++k) options[kGxFlagNames[k]] = s.options.flags[static_cast<std::size_t>(k)];
  options["ageRanges"] = AgeRangesJson(s.options.ageRanges);
  options["mvvMethod"] = s.options.mvvMethod;
  for (int k = 0; k < 5; ++k) options[kGxFactorNames[k]] = s.options.factors[static_cast<std::size_t>(k)];
  set["options"] = std::move(options);
  set["authorChoices"] = ChoicesJson(s.authorChoices);

  ordered_json authors = ordered_json::array();
  for (const auto& a : file.authors) {
    ordered_json j;
    j["name"] = a.name;
    j["guid"] = a.guid;
    j["flag"] = a.flag;
    j["source"] = a.source;
    ordered_json records = ordered_json::array();
    for (const auto& q : a.equations) {
      ordered_json rj;
      rj["variableNumber"] = q.variableNumber;
      rj["guid"] = q.guid;
      rj["source"] = q.source;
      std::array<std::string, 8> byAgeGroup;
      for (int sx = 1; sx <= 2; ++sx)
        for (int ag = 0; ag < 4; ++ag)
          byAgeGroup[static_cast<std::size_t>(4 * (sx - 1) + ag)] = q.equations[static_cast<std::size_t>(GxDeclaredIndex(sx, ag))];
      rj["equations"] = BySexJson(byAgeGroup, 4);
      records.push_back(std::move(rj));
    }
    j["equations"] = std::move(records);
    authors.push_back(std::move(j));
  }
  ordered_json out;
  out["format"] = kFormatPredSet;
  out["version"] = 1;
  out["kind"] = "gx";
  out["predSet"] = std::move(set);
  out["authors"] = std::move(authors);
  return out;
}

ordered_json WriteCatalogue(const VariableCatalogue& catalogue) {
  ordered_json vars = ordered_json::array();
  for (const auto& v : catalogue.variables) {
    ordered_json j;
    j["variableNumber"] = v.variableNumber;
    j["name"] = v.name;
    j["testType"] = v.testType;
    j["decimals"] = v.decimals;
    j["unit"] = v.unit;
    j["conventionalUnit"] = v.conventionalUnit;
    j["source"] = v.source;
    j["text5"] = v.text5;
    j["text6"] = v.text6;
    j["value1"] = v.value1;
    j["flag1"] = v.flag1;
    j["values"] = v.values;
    j["flags"] = v.flags;
    vars.push_back(std::move(j));
  }
  ordered_json out;
  out["format"] = kFormatVariables;
  out["version"] = 1;
  out["variableSet"] = catalogue.variableSet;
  out["variables"] = std::move(vars);
  return out;
}

}  // namespace

std::string CheckEquation(std::string_view text, bool gx, const FormulaChecker& checker) {
  const std::string upper = Upper(text);
  // Blanks around the text do not change it.
  const auto first = upper.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  std::string body = upper.substr(first, upper.find_last_not_of(" \t") - first + 1);
  if (!gx && body == "CAUCASIAN") return {};  // asks for the race-1 text
  if (gx) {
    body.erase(std::remove(body.begin(), body.end(), '='), body.end());
  } else if (!body.empty() && body[0] == '=') {
    body.erase(0, 1);
  }
  bool unknown = false;
  std::string unknownName;
  const std::string numeric = NamesOf(body, gx, unknown, unknownName);
  if (unknown) return "unknown name " + unknownName;
  if (!checker) return {};
  const std::string problem = checker(numeric);
  return problem.empty() ? std::string() : "equation does not parse: " + problem;
}

std::optional<ContentFile> ReadContent(const json& document, const FormulaChecker& checker,
                                       std::vector<Problem>& problems) {
  Reader r(problems);
  const std::size_t before = r.Count();
  if (!document.is_object()) {
    r.Add("", "the file must hold one JSON object");
    return std::nullopt;
  }
  std::string format;
  r.Text(document, "", "format", format);
  std::int32_t version = 0;
  r.Int(document, "", "version", version, std::numeric_limits<std::int32_t>::min(),
        std::numeric_limits<std::int32_t>::max());
  if (r.Count() != before) return std::nullopt;
  if (version != 1) {
    r.Add("version", "version " + std::to_string(version) + " is not supported (this program reads version 1)");
    return std::nullopt;
  }
  if (format == kFormatVariables) {
    r.Object(document, "", {"format", "version", "variableSet", "variables"});
    auto catalogue = ReadCatalogue(r, document);
    if (!catalogue || r.Count() != before) return std::nullopt;
    return ContentFile(std::move(*catalogue));
  }
  if (format != kFormatPredSet) {
    r.Add("format", "\"" + format + "\" is not a format of this program (" + kFormatPredSet + " or " +
                        kFormatVariables + ")");
    return std::nullopt;
  }
  r.Object(document, "", {"format", "version", "kind", "predSet", "authors"});
  std::string kind;
  r.Text(document, "", "kind", kind);
  if (kind == "pf") {
    auto file = ReadPf(r, document, checker);
    if (!file || r.Count() != before) return std::nullopt;
    return ContentFile(std::move(*file));
  }
  if (kind == "gx") {
    auto file = ReadGx(r, document, checker);
    if (!file || r.Count() != before) return std::nullopt;
    return ContentFile(std::move(*file));
  }
  if (r.Count() == before) r.Add("kind", "\"" + kind + "\" must be \"pf\" or \"gx\"");
  return std::nullopt;
}

std::optional<ContentFile> ReadContentText(std::string_view text, const FormulaChecker& checker,
                                           std::vector<Problem>& problems) {
  json document = json::parse(text, nullptr, false);
  if (document.is_discarded()) {
    // Parse again to learn where it failed.
    try {
      json again = json::parse(text);
      (void)again;
    } catch (const json::parse_error& e) {
      problems.push_back({"", std::string("not valid JSON: ") + e.what()});
      return std::nullopt;
    }
    problems.push_back({"", "not valid JSON"});
    return std::nullopt;
  }
  return ReadContent(document, checker, problems);
}

ordered_json WriteContent(const ContentFile& content) {
  if (const auto* pf = std::get_if<PfSetFile>(&content)) return WritePf(*pf);
  if (const auto* gx = std::get_if<GxSetFile>(&content)) return WriteGx(*gx);
  return WriteCatalogue(std::get<VariableCatalogue>(content));
}

}  // namespace kplstore
