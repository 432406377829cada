// kplpredicted settings show | set NAME VALUE
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "KPLClassLibrary/KPLRegistry.h"
#include "KPLPlatform/Locale.h"
#include "tools/kplpredicted/CliSettings.h"
#include "tools/kplpredicted/Commands.h"

namespace kplcli {
namespace {

struct SettingsOptions {
  std::string file;
  std::string name;
  std::string value;
};

void Show(const SettingsOptions& options) {
  InstallSettings(options.file);
  KPLRegistry settings;
  settings.Open();
  settings.Load();
  settings.Close();
  std::size_t width = 0;
  for (const auto& field : KPLRegistry::Fields()) width = std::max(width, std::string(field.valueName).size());
  for (const auto& field : KPLRegistry::Fields()) {
    std::printf("%-*s = %s\n", static_cast<int>(width), field.valueName, settings.FieldText(field).c_str());
  }
}

// A 32-bit number: signed, or unsigned up to 4294967295, as a registry editor takes it.
bool ParseNumber(const std::string& text, std::uint32_t& out) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(text.c_str(), &end, 0);
  if (errno != 0 || *end != '\0' || v < -2147483648LL || v > 4294967295LL) return false;
  out = static_cast<std::uint32_t>(v);
  return true;
}

void Set(const SettingsOptions& options) {
  using kpl::platform::HiveValue;
  const auto* field = KPLRegistry::FindField(options.name);
  if (!field) {
    std::fprintf(stderr, "kplpredicted: unknown setting \"%s\" (see 'kplpredicted settings show')\n",
                 options.name.c_str());
    SetExitStatus(2);
    return;
  }
  HiveValue value;
  switch (field->type) {
    case KPLRegistry::FieldType::kComputed:
      std::fprintf(stderr, "kplpredicted: %s is derived from Executable Path and cannot be set\n", field->valueName);
      SetExitStatus(2);
      return;
    case KPLRegistry::FieldType::kNumber: {
      std::uint32_t number = 0;
      if (!ParseNumber(options.value, number)) {
        std::fprintf(stderr, "kplpredicted: %s takes a 32-bit number, not \"%s\"\n", field->valueName,
                     options.value.c_str());
        SetExitStatus(2);
        return;
      }
      value = number;
      break;
    }
    case KPLRegistry::FieldType::kDate: {
      auto locale = kpl::platform::CurrentLocale();
      auto parsed = locale->ParseTimeStamp(options.value);
      if (!parsed) {
        auto iso = KPLDateTimeValue::ParseIso(options.value);
        if (iso.ok()) parsed = iso.Civil();
      }
      if (!parsed) {
        std::fprintf(stderr, "kplpredicted: %s takes a date and time (YYYY-MM-DDTHH:MM:SS or \"%s\"), not \"%s\"\n",
                     field->valueName, locale->FormatTimeStamp(locale->Now()).c_str(), options.value.c_str());
        SetExitStatus(2);
        return;
      }
      value = locale->FormatTimeStamp(*parsed);
      break;
    }
    case KPLRegistry::FieldType::kText:
      if (static_cast<int>(options.value.size()) + 1 > field->bufferSize) {
        std::fprintf(stderr, "kplpredicted: %s holds at most %d characters\n", field->valueName,
                     field->bufferSize - 1);
        SetExitStatus(2);
        return;
      }
      value = options.value;
      break;
  }
  auto hive = InstallSettings(options.file);
  if (!hive) {
    SetExitStatus(1);
    return;
  }
  if (!hive->CreateKey(KPLRegistry::kCommonKeyPath) || !hive->Set(KPLRegistry::kCommonKeyPath, field->valueName, value)) {
    std::fprintf(stderr, "kplpredicted: cannot write %s: %s\n", field->valueName, hive->Error().c_str());
    SetExitStatus(1);
    return;
  }
  const std::string shown =
      std::holds_alternative<std::string>(value) ? std::get<std::string>(value) : std::to_string(std::get<std::uint32_t>(value));
  std::printf("%s = %s\n", field->valueName, shown.c_str());
}

}  // namespace

void AddSettingsCommands(CLI::App& app) {
  auto options = std::make_shared<SettingsOptions>();
  auto* settings = app.add_subcommand("settings", "Show or change the settings record");
  settings->require_subcommand(1);

  auto* show = settings->add_subcommand("show", "Print every setting with its value (missing ones are created)");
  show->add_option("--settings", options->file, "Settings file (default: " + DefaultSettingsPath() + ")");
  show->callback([options] { Show(*options); });

  auto* set = settings->add_subcommand("set", "Write one setting with its type, as a registry editor would");
  set->add_option("NAME", options->name, "Setting name, as 'settings show' prints it")->required();
  set->add_option("VALUE", options->value, "New value")->required();
  set->add_option("--settings", options->file, "Settings file (default: " + DefaultSettingsPath() + ")");
  set->callback([options] { Set(*options); });
}

}  // namespace kplcli
