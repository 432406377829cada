#include "KPLClassLibrary/KPLRegistry.h"

#include <array>
#include <random>

#include "KPLPlatform/FileSystem.h"
#include "KPLPlatform/Installed.h"
#include "KPLPlatform/Prompt.h"
#include "KPLPlatform/SettingsHive.h"

namespace {

using kpl::platform::Installed;
using kpl::platform::SettingsHive;
using FieldType = KPLRegistry::FieldType;

constexpr char kSep = kpl::platform::kPathSeparator;

// Load rules beyond the plain read.
enum Rule : unsigned {
  kWriteBack = 1u << 0,       // a missing or unreadable value is written with its default
  kTrailingSep = 1u << 1,     // a read value gets a trailing separator
  kTemperatureMap = 1u << 2,  // stored 0 means 2, stored 1 means 3
  kSpeedMap = 1u << 3,        // stored 0 means 4, stored 1 means 5
  kClampTen = 1u << 4,        // above 10 (unsigned) means 10
  kZeroAfterLoad = 1u << 5,   // the record holds 0 whatever is stored
};

enum class Special { kNone, kExecutablePath, kConfigPath, kAValue, kEcgArchive };

struct Spec {
  KPLRegistry::FieldInfo info;
  std::string KPLRegistry::*text;
  std::int32_t KPLRegistry::*number;
  KPLDateTimeValue KPLRegistry::*date;
  const char* textDefault;
  std::int32_t numberDefault;
  unsigned rules;
  Special special;
};

constexpr Spec Text(const char* name, std::string KPLRegistry::*member, int size, const char* def, unsigned rules,
                    bool stored, Special special = Special::kNone) {
  return {{name, FieldType::kText, size, stored}, member, nullptr, nullptr, def, 0, rules, special};
}
constexpr Spec Number(const char* name, std::int32_t KPLRegistry::*member, std::int32_t def, unsigned rules,
                      bool stored) {
  return {{name, FieldType::kNumber, 0, stored}, nullptr, member, nullptr, nullptr, def, rules, Special::kNone};
}
constexpr Spec Date(const char* name, KPLDateTimeValue KPLRegistry::*member) {
  return {{name, FieldType::kDate, 256, true}, nullptr, nullptr, member, nullptr, 0, 0, Special::kNone};
}

using R = KPLRegistry;
constexpr unsigned W = kWriteBack;

// The settings record's fields in order, with their defaults and load rules.
constexpr std::array kSpecs = {
    Text("Executable Path", &R::strExecutablePath, 256, nullptr, kTrailingSep, true, Special::kExecutablePath),
    Spec{{"strConfigPath", FieldType::kComputed, 0, false}, &R::strConfigPath, nullptr, nullptr, nullptr, 0, 0,
         Special::kConfigPath},
    Number("nLimitCalculations", &R::nLimitCalculations, 2, W, true),
    Number("bSharedDatabaseValid", &R::bSharedDatabaseValid, 0, W, true),
    Number("Weight Unit", &R::nWeightUnit, 2, W, true),
    Number("Height Unit", &R::nHeightUnit, 1, W, true),
    Number("nWeightDecimals", &R::nWeightDecimals, 2, W, false),
    Number("nHeightDecimals", &R::nHeightDecimals, 2, W, false),
    Number("nPercentPredictedsDecimals", &R::nPercentPredictedsDecimals, 0, W, false),
    Number("nDoseDecimals", &R::nDoseDecimals, 5, W, false),
    Number("nDoseUnitDecimals", &R::nDoseUnitDecimals, 5, W, false),
    Number("nCDUsDecimals", &R::nCDUsDecimals, 5, W, false),
    Number("nBMIDecimals", &R::nBMIDecimals, 1, W, false),
    Number("SI Unit", &R::nSIUnit, 0, W, true),
    Number("Temperature Unit", &R::nTemperatureUnit, 2, W | kTemperatureMap, true),
    Number("Pressure Unit", &R::nPressureUnit, 0, W, true),
    Number("Speed Unit", &R::nSpeedUnit, 5, W | kSpeedMap, true),
    Number("nReportsMRUCount", &R::nReportsMRUCount, 10, W | kClampTen, false),
    Number("QT Predicted Author", &R::nQTPredictedAuthor, 1, W, true),
    Date("ResourceTablesLastSynchronized", &R::dtResourceTablesLastSynchronized),
    Date("PatientDemographicsLastSynchronized", &R::dtPatientDemographicsLastSynchronized),
    Date("OrdersLastSynchronized", &R::dtOrdersLastSynchronized),
    Text("strLocalServerName", &R::strLocalServerName, 256, "(local)", W, false),
    Text("strSharedServerName", &R::strSharedServerName, 256, "", W, false),
    Text("strLocalServerPath", &R::strLocalServerPath, 256, "/var/opt/mssql/data/", W | kTrailingSep, false),
    Text("strSharedServerPath", &R::strSharedServerPath, 256, "", W | kTrailingSep, false),
    Text("strLocalServerInstanceName", &R::strLocalServerInstanceName, 256, "", W, false),
    Text("strSharedServerInstanceName", &R::strSharedServerInstanceName, 256, "", W, false),
    Number("nLocalServerType", &R::nLocalServerType, 0, W, false),
    Number("nSharedServerType", &R::nSharedServerType, 0, W, false),
    Number("nHardwareType", &R::nHardwareType, 0, W, true),
    Number("nHardwareComPort", &R::nHardwareComPort, 1, W, true),
    Number("nATMethod", &R::nATMethod, 0, W, true),
    Number("bAvgExternalDevices", &R::bAvgExternalDevices, 1, W, true),
    Number("bShowReportSwitchboard", &R::bShowReportSwitchboard, 0, W | kZeroAfterLoad, false),
    Number("bEnableLastLogin", &R::bEnableLastLogin, 1, W, true),
    Text("strLastLogin", &R::strLastLogin, 50, "", 0, false),
    Number("nCommandTimeout", &R::nCommandTimeout, 60, W, false),
    Number("nConnectionTimeout", &R::nConnectionTimeout, 30, W, false),
    Number("nWaitForSlowConnection", &R::nWaitForSlowConnection, 0, W, false),
    Number("nBioEnergyAvg", &R::nBioEnergyAvg, 15, W, false),
    Number("nExConAvgMethod", &R::nExConAvgMethod, 2, W, true),
    Number("nExConAvgXValue", &R::nExConAvgXValue, 0, W, true),
    Number("nExConAvgYValue", &R::nExConAvgYValue, 0, W, true),
    Number("bExConUseEstimatedVdVt", &R::bExConUseEstimatedVdVt, 0, W, true),
    Number("bIgnoreAssertErrors", &R::bIgnoreAssertErrors, 0, W, false),
    Number("bDisplayPendingExports", &R::bDisplayPendingExports, 1, W, true),
    Number("bForceCopyOrdersToLocalDB", &R::bForceCopyOrdersToLocalDB, 0, W, false),
    Number("nAssesmentWarning", &R::nAssesmentWarning, 6, W, false),
    Number("nLocalAuthenticationMode", &R::nLocalAuthenticationMode, 1, W, false),
    Number("nSharedAuthenticationMode", &R::nSharedAuthenticationMode, 1, W, true),
    Text("strAName", &R::strAName, 50, "Tq4nWolvSerp7Hadix2Bem", W, false),
    Text("strAValue", &R::strAValue, 50, nullptr, W, false, Special::kAValue),
    Text("strAssertLogFileName", &R::strAssertLogFileName, 256, "KPLAssertError.log", W, false),
    Text("strPostFileFormat", &R::strPostFileFormat, 50, "6005_", W, false),
    Text("strDefaultPredSetName", &R::strDefaultPredSetName, 50, "Default", W, true),
    Text("strDefaultGXPredSetName", &R::strDefaultGXPredSetName, 50, "Default", W, true),
    Text("strLocalECGArchivePath", &R::strLocalECGArchivePath, 256, nullptr, kTrailingSep, false,
         Special::kEcgArchive),
};
static_assert(kSpecs.size() == 58, "the settings record has 58 fields");

constexpr std::array<KPLRegistry::FieldInfo, kSpecs.size()> MakeInfos() {
  std::array<KPLRegistry::FieldInfo, kSpecs.size()> infos{};
  for (std::size_t i = 0; i < kSpecs.size(); ++i) infos[i] = kSpecs[i].info;
  return infos;
}
constexpr auto kInfos = MakeInfos();

// Store writes these after `Executable Path`, in this order.
constexpr std::array<const char*, 25> kStoreOrder = {
    "bSharedDatabaseValid", "nLimitCalculations", "bAvgExternalDevices", "nATMethod", "Height Unit", "Weight Unit",
    "SI Unit", "Temperature Unit", "Pressure Unit", "Speed Unit", "QT Predicted Author",
    "ResourceTablesLastSynchronized", "PatientDemographicsLastSynchronized", "OrdersLastSynchronized",
    "nHardwareType", "nExConAvgMethod", "nExConAvgXValue", "nExConAvgYValue", "bExConUseEstimatedVdVt",
    "nHardwareComPort", "nSharedAuthenticationMode", "bEnableLastLogin", "bDisplayPendingExports",
    "strDefaultPredSetName", "strDefaultGXPredSetName"};

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

const Spec* FindSpec(std::string_view name) {
  for (const Spec& s : kSpecs)
    if (EqualNoCase(s.info.valueName, name)) return &s;
  return nullptr;
}

void AddTrailingSeparator(std::string& path) {
  if (path.empty() || path.back() != kSep) path += kSep;
}

// A text read into a buffer of `bufferSize` bytes: a longer value is unreadable.
std::optional<std::string> QueryText(SettingsHive& hive, const std::string& key, std::string_view name,
                                     int bufferSize) {
  auto text = hive.QueryText(key, name);
  if (!text || static_cast<int>(text->size()) + 1 > bufferSize) return std::nullopt;
  return text;
}

}  // namespace

namespace kpl_detail {

std::string DefaultAValue() {
  // Per installation: drawn once, then kept by the write-back of the first load.
  static constexpr char kAlphabet[] = "ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz23456789";
  std::random_device device;
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 2);
  std::string value(8, ' ');
  for (char& c : value) c = kAlphabet[pick(device)];
  return value;
}

std::string DefaultEcgArchivePath(const std::string& executablePath) {
  // A drive ("d:") when the path names one, else the root of the file system.
  std::string drive;
  auto colon = executablePath.find(':');
  if (colon != std::string::npos && colon > 0) {
    drive = executablePath.substr(0, colon + 2);
  } else {
    drive = std::string(1, kSep);
  }
  return drive + "ECG Data" + kSep;
}

}  // namespace kpl_detail

KPLRegistry::KPLRegistry() : strRootKeyPath(kRootKeyPath) {}

SettingsHive& KPLRegistry::Hive() {
  if (!hive_) hive_ = Installed<SettingsHive>::Get();
  return *hive_;
}

std::span<const KPLRegistry::FieldInfo> KPLRegistry::Fields() { return kInfos; }

const KPLRegistry::FieldInfo* KPLRegistry::FindField(std::string_view valueName) {
  const Spec* spec = FindSpec(valueName);
  return spec ? &kInfos[static_cast<std::size_t>(spec - kSpecs.data())] : nullptr;
}

std::string KPLRegistry::FieldText(const FieldInfo& field) const {
  const Spec* spec = FindSpec(field.valueName);
  if (!spec) return {};
  if (spec->text) return this->*(spec->text);
  if (spec->number) return std::to_string(this->*(spec->number));
  auto civil = (this->*(spec->date)).Civil();
  return civil ? kpl::platform::CurrentLocale()->FormatTimeStamp(*civil) : std::string();
}

void KPLRegistry::Open() {
  hive_ = Installed<SettingsHive>::Get();
  auto& hive = *hive_;
  bOpened = hive.CreateKey(strRootKeyPath) || hive.KeyExists(strRootKeyPath);
  hRootKey = bOpened ? strRootKeyPath : std::string();
  hCommonKey = std::string(kCommonKeyPath);
  hHISKey = std::string(kHISKeyPath);
  (void)hive.CreateKey(hCommonKey);
  (void)hive.CreateKey(hHISKey);
}

void KPLRegistry::Close() {
  hCommonKey.clear();
  hHISKey.clear();
  hRootKey.clear();
  bOpened = false;
}

std::int32_t KPLRegistry::ReadNumber(const std::string& key, std::string_view name, std::int32_t defaultValue) {
  if (auto stored = Hive().QueryNumber(key, name)) return static_cast<std::int32_t>(*stored);
  WriteNumber(key, name, defaultValue);
  return defaultValue;
}

bool KPLRegistry::WriteNumber(const std::string& key, std::string_view name, std::int32_t value) {
  return !key.empty() && Hive().Set(key, name, static_cast<std::uint32_t>(value));
}

void KPLRegistry::Load() {
  // Unopened keys give every field its default and take no write-backs.
  const std::string key = bOpened ? hCommonKey : std::string();
  auto& hive = Hive();
  auto writeText = [&](std::string_view name, const std::string& text) {
    return !key.empty() && hive.Set(key, name, text);
  };

  for (const Spec& spec : kSpecs) {
    const char* name = spec.info.valueName;
    switch (spec.info.type) {
      case FieldType::kNumber: {
        std::int32_t value = spec.numberDefault;
        if (!key.empty()) {
          // Every number is written back, through the read helper.
          value = ReadNumber(key, name, spec.numberDefault);
        }
        if ((spec.rules & kTemperatureMap) && value == 0) value = 2;
        if ((spec.rules & kTemperatureMap) && value == 1) value = 3;
        if ((spec.rules & kSpeedMap) && value == 0) value = 4;
        if ((spec.rules & kSpeedMap) && value == 1) value = 5;
        if ((spec.rules & kClampTen) && static_cast<std::uint32_t>(value) > 10u) value = 10;
        if (spec.rules & kZeroAfterLoad) value = 0;
        this->*(spec.number) = value;
        break;
      }
      case FieldType::kDate: {
        std::optional<kpl::platform::CivilTime> parsed;
        if (auto text = key.empty() ? std::nullopt : QueryText(hive, key, name, spec.info.bufferSize))
          parsed = kpl::platform::CurrentLocale()->ParseTimeStamp(*text);
        this->*(spec.date) = parsed ? KPLDateTimeValue::FromCivil(*parsed) : KPLDateTimeValue::Now();
        break;
      }
      case FieldType::kComputed:
        strConfigPath = strExecutablePath + "Cfg" + kSep;
        break;
      case FieldType::kText: {
        auto stored = key.empty() ? std::nullopt : QueryText(hive, key, name, spec.info.bufferSize);
        std::string& field = this->*(spec.text);
        if (spec.special == Special::kExecutablePath) {
          field = stored ? *stored : kpl::platform::DefaultDataFolder();
          AddTrailingSeparator(field);
          bExecutablePathWritten = writeText(name, field);
        } else if (stored) {
          field = *stored;
          if (spec.rules & kTrailingSep) AddTrailingSeparator(field);
        } else {
          if (spec.special == Special::kAValue) {
            field = kpl_detail::DefaultAValue();
          } else if (spec.special == Special::kEcgArchive) {
            field = kpl_detail::DefaultEcgArchivePath(strExecutablePath);
          } else {
            field = spec.textDefault;
          }
          if ((spec.rules & kWriteBack) || spec.special == Special::kEcgArchive) (void)writeText(name, field);
        }
        break;
      }
    }
  }
  bLoaded = true;
}

bool KPLRegistry::Store() {
  if (!bLoaded) return false;
  if (nWeightUnit == 0 || nHeightUnit == 0) {
    kpl::platform::Ask({kCorruptUnitsMessage, kpl::platform::PromptButtons::kOk, kpl::platform::PromptIcon::kNone,
                        kpl::platform::PromptAnswer::kOk});
    return false;
  }
  auto& hive = Hive();
  const std::string& key = hCommonKey;
  if (key.empty() || !hive.Set(key, "Executable Path", strExecutablePath)) return false;
  for (const char* name : kStoreOrder) {
    const Spec* spec = FindSpec(name);
    if (spec->number) {
      (void)WriteNumber(key, name, this->*(spec->number));
    } else if (spec->text) {
      (void)hive.Set(key, name, this->*(spec->text));
    } else {
      (void)hive.Set(key, name, FieldText(spec->info));
    }
  }
  return true;
}

// ---- KPLDataStoreRegistry ----

namespace {
constexpr const char* kBusyTimeoutName = "nStoreBusyTimeout";
constexpr std::int32_t kBusyTimeoutDefault = 5000;
}  // namespace

void KPLDataStoreRegistry::Open() { KPLRegistry::Open(); }
void KPLDataStoreRegistry::Close() { KPLRegistry::Close(); }

void KPLDataStoreRegistry::Load() {
  KPLRegistry::Load();
  nStoreBusyTimeout = bOpened ? ReadNumber(hCommonKey, kBusyTimeoutName, kBusyTimeoutDefault) : kBusyTimeoutDefault;
}

bool KPLDataStoreRegistry::Store() {
  if (!KPLRegistry::Store()) return false;
  (void)WriteNumber(hCommonKey, kBusyTimeoutName, nStoreBusyTimeout);
  return true;
}
