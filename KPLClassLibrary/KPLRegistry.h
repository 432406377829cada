// KPLRegistry: the suite's machine-wide settings record.
//
// Reads its fields from the installed settings hive under "SoftWare\Quorvane\Common"
// (creating missing values with their defaults) and writes a fixed subset back
// with Store. The host creates and loads one and hands it to the library; the
// error-report routine builds a private one for every report. Fields are public,
// read and changed directly by callers, and listed in the record's order.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "KPLClassLibrary/KplDateTimeValue.h"

namespace kpl::platform {
class SettingsHive;
}

class KPLRegistry {
 public:
  KPLRegistry();
  virtual ~KPLRegistry() = default;
  KPLRegistry(const KPLRegistry&) = default;
  KPLRegistry& operator=(const KPLRegistry&) = default;

  // Creates or opens the root key and its "Common" and "HIS" subkeys.
  virtual void Open();
  // Closes the keys; opened becomes false.
  virtual void Close();
  // Reads every field, creating missing values with their defaults.
  virtual void Load();
  // Writes back the stored subset; false when never loaded, when a unit is 0
  // (after telling the user) or when `Executable Path` cannot be written.
  virtual bool Store();

  // Reads a number from an open key; a missing value, or one that is not a
  // number, is written with the default, which is then used.
  [[nodiscard]] std::int32_t ReadNumber(const std::string& key, std::string_view name, std::int32_t defaultValue);
  bool WriteNumber(const std::string& key, std::string_view name, std::int32_t value);

  // ---- Fields, in record order ----
  std::string strExecutablePath;          // `Executable Path`, with a trailing separator
  std::string strConfigPath;              // `Executable Path` + "Cfg/"; not stored
  std::int32_t nLimitCalculations = 0;
  std::int32_t bSharedDatabaseValid = 0;
  std::int32_t nWeightUnit = 0;           // `Weight Unit`
  std::int32_t nHeightUnit = 0;           // `Height Unit`
  std::int32_t nWeightDecimals = 0;
  std::int32_t nHeightDecimals = 0;
  std::int32_t nPercentPredictedsDecimals = 0;
  std::int32_t nDoseDecimals = 0;
  std::int32_t nDoseUnitDecimals = 0;
  std::int32_t nCDUsDecimals = 0;
  std::int32_t nBMIDecimals = 0;
  std::int32_t nSIUnit = 0;               // `SI Unit`
  std::int32_t nTemperatureUnit = 0;      // `Temperature Unit`
  std::int32_t nPressureUnit = 0;         // `Pressure Unit`
  std::int32_t nSpeedUnit = 0;            // `Speed Unit`
  std::int32_t nReportsMRUCount = 0;
  std::int32_t nQTPredictedAuthor = 0;    // `QT Predicted Author`
  KPLDateTimeValue dtResourceTablesLastSynchronized;
  KPLDateTimeValue dtPatientDemographicsLastSynchronized;
  KPLDateTimeValue dtOrdersLastSynchronized;
  std::string strLocalServerName;
  std::string strSharedServerName;
  std::string strLocalServerPath;
  std::string strSharedServerPath;
  std::string strLocalServerInstanceName;
  std::string strSharedServerInstanceName;
  std::int32_t nLocalServerType = 0;
  std::int32_t nSharedServerType = 0;
  std::int32_t nHardwareType = 0;
  std::int32_t nHardwareComPort = 0;
  std::int32_t nATMethod = 0;
  std::int32_t bAvgExternalDevices = 0;
  std::int32_t bShowReportSwitchboard = 0;
  std::int32_t bEnableLastLogin = 0;
  std::string strLastLogin;
  std::int32_t nCommandTimeout = 0;
  std::int32_t nConnectionTimeout = 0;
  std::int32_t nWaitForSlowConnection = 0;
  std::int32_t nBioEnergyAvg = 0;
  std::int32_t nExConAvgMethod = 0;
  std::int32_t nExConAvgXValue = 0;
  std::int32_t nExConAvgYValue = 0;
  std::int32_t bExConUseEstimatedVdVt = 0;
  std::int32_t bIgnoreAssertErrors = 0;
  std::int32_t bDisplayPendingExports = 0;
  std::int32_t bForceCopyOrdersToLocalDB = 0;
  std::int32_t nAssesmentWarning = 0;
  std::int32_t nLocalAuthenticationMode = 0;
  std::int32_t nSharedAuthenticationMode = 0;
  std::string strAName;
  std::string strAValue;
  std::string strAssertLogFileName;
  std::string strPostFileFormat;
  std::string strDefaultPredSetName;
  std::string strDefaultGXPredSetName;
  std::string strLocalECGArchivePath;

  // ---- State ----
  std::string hCommonKey;    // key paths stand for the open key handles
  std::string hHISKey;
  std::string hRootKey;
  std::string strRootKeyPath;
  bool bOpened = false;
  bool bLoaded = false;
  bool bExecutablePathWritten = false;

 private:
  // The hive installed when the record was opened (or first used).
  kpl::platform::SettingsHive& Hive();
  std::shared_ptr<kpl::platform::SettingsHive> hive_;

 public:

  // ---- The field table ----
  enum class FieldType { kText, kNumber, kDate, kComputed };
  struct FieldInfo {
    const char* valueName;  // the hive value ("Executable Path"); the member name for kComputed
    FieldType type;
    int bufferSize;         // texts and dates: bytes including the terminating zero
    bool stored;            // written by Store
  };
  // The 58 fields in record order.
  [[nodiscard]] static std::span<const FieldInfo> Fields();
  // The field named `valueName` (without regard to case), or null.
  [[nodiscard]] static const FieldInfo* FindField(std::string_view valueName);
  // The field's current value as display text (numbers in decimal, dates as the
  // locale's time stamp).
  [[nodiscard]] std::string FieldText(const FieldInfo& field) const;

  static constexpr const char* kRootKeyPath = "SoftWare\\Quorvane";
  static constexpr const char* kCommonKeyPath = "SoftWare\\Quorvane\\Common";
  static constexpr const char* kHISKeyPath = "SoftWare\\Quorvane\\HIS";
  static constexpr const char* kCorruptUnitsMessage =
      "Common - Weight and/or height unit is zero indicating corrupt memory.  Store registry terminated.";
};

// KPLDataStoreRegistry: the persistence store's settings record. It adds how
// long a store waits for a database that another process holds locked.
class KPLDataStoreRegistry : public KPLRegistry {
 public:
  KPLDataStoreRegistry() = default;
  void Open() override;
  void Load() override;
  bool Store() override;

  std::int32_t nStoreBusyTimeout = 0;  // milliseconds; default 5000

 protected:
  void Close() override;
};

// End of public API. Implementation details follow.
namespace kpl_detail {
// The default of `strAValue`: eight characters assembled at run time.
std::string DefaultAValue();
// The default ECG archive folder for an executable folder.
std::string DefaultEcgArchivePath(const std::string& executablePath);
}  // namespace kpl_detail
