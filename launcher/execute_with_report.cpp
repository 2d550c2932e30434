#include "launcher/execute_with_report.h"

#include "base/codepage.h"
#include "base/convert.h"

namespace pelmorix {

std::string ShellFailureName(int code) {
  switch (code) {
    case 0:
      return "MEMORY_OUT_OF_RESOURCES";
    case 2:  // the ERROR names win over their SE_ERR aliases of the same value
      return "ERROR_FILE_NOT_FOUND";
    case 3:
      return "ERROR_PATH_NOT_FOUND";
    case 5:
      return "SE_ERR_ACCESSDENIED";
    case 8:
      return "SE_ERR_OOM";
    case 11:
      return "ERROR_BAD_FORMAT";
    case 26:
      return "SE_ERR_SHARE";
    case 27:
      return "SE_ERR_ASSOCINCOMPLETE";
    case 28:
      return "SE_ERR_DDETIMEOUT";
    case 29:
      return "SE_ERR_DDEFAIL";
    case 30:
      return "SE_ERR_DDEBUSY";
    case 31:
      return "SE_ERR_NOASSOC";
    case 32:
      return "SE_ERR_DLLNOTFOUND";
    default:
      return "";
  }
}

int ExecuteWithReport(TShell& shell, TMessageBoxHost& messages, HWND window,
                      const std::string& operation, const std::string& file,
                      const std::string& parameters, const std::string& directory, int showCommand,
                      const std::string& reportName) {
  const int result = shell.ShellExecuteA(window, operation.c_str(), file.c_str(),
                                         parameters.c_str(), directory.c_str(), showCommand);
  if (result > 32) return result;
  std::string message = ShellFailureName(result);
  message += ": ";
  message += reportName;
  message += ":";
  message += file;
  message += " ";
  message += parameters;
  message += Utf8ToCp1252(" konnte nicht ausgeführt werden. (Fehlercode: ");
  message += IntToStr(result);
  message += ")";
  messages.ShowMessage(message);
  return result;
}

}  // namespace pelmorix
