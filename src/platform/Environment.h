#pragma once
// Everything the core takes from the surroundings is injected here, so that
// tests pin it and generated files are stable.
#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Dialogs.h"

namespace mosaik {

struct LocaleFormats {
  std::string shortDate = "dd.MM.yyyy";
  std::string longTime = "hh:nn:ss";
  char decimalSeparator = ',';
};

// The formats of the user's locale (LC_NUMERIC and LC_TIME as the
// environment names them), from the C library's locale data.
LocaleFormats systemLocaleFormats();
// The same for named locales; German formats where a locale is C/POSIX or
// not installed.
LocaleFormats localeFormats(const std::string& numeric, const std::string& time);
// A date or time format of the C library (strftime) as a pattern of the
// pages ("%d.%m.%Y" gives "dd.MM.yyyy"); ampmFormat stands for "%r".
std::string strftimeMuster(std::string_view format, std::string_view ampmFormat);

// The login name of the current user, empty when it cannot be obtained.
std::string systemLoginName();

// The families of the installed fonts (each font's first family name),
// sorted, without repeats.
std::vector<std::string> systemFontFamilies();

class Shell {
 public:
  virtual ~Shell() = default;
  // Opens a file or URL with the user's default program; false on failure.
  virtual bool open(const std::string& target) = 0;
};

class SystemShell : public Shell {
 public:
  bool open(const std::string& target) override;
  // Called while a started program is watched (see startDetached): a window
  // lets its events through meanwhile.
  std::function<void()> warten;
};

struct Services {
  DialogService* dialogs = nullptr;
  Shell* shell = nullptr;
  // Lets pending window events through (the progress dialog repaints and
  // takes its cancel click); does nothing without a window.
  std::function<void()> pump = [] {};
  LocaleFormats locale;
  std::function<std::time_t()> now = [] { return std::time(nullptr); };
  std::function<std::string()> loginName = systemLoginName;
  std::function<std::vector<std::string>()> fontFamilies = systemFontFamilies;
  // Folders that are found through the environment; empty = ask the system.
  std::string programFolder;
  std::string appDataFolder;
  // The working folder the program was started in, which relative folders
  // of a settings file name; empty = the current one.
  std::string startFolder;
};

}  // namespace mosaik
