#include "tools/http-get/http_get.h"

#include <memory>
#include <ostream>

#include "http/id_http.h"
#include "http/io_handler_ssl_socket.h"
#include "http/uri.h"
#include "tools/http-get/output_file.h"
#include "tools/http-get/standard_output_stream.h"

namespace pelmorix {
namespace {

// Socket error texts carry a line break; the report is one line.
std::string OneLine(const std::string& text) {
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      line += ' ';
    } else {
      line += text[i];
    }
  }
  return line;
}

void ReportFailure(const Exception& error, std::ostream& errors) {
  errors << error.ClassName() << ": " << OneLine(error.Message());
  if (const auto* reply = dynamic_cast<const EIdHTTPProtocolException*>(&error)) {
    errors << " (reply code " << reply->ReplyCode() << ")";
  }
  errors << '\n';
}

// A user and password in the URL go out as Basic credentials at once, as curl sends them; the
// client binds them to that URL's origin.
void SendUrlCredentials(TIdHTTP& http, const std::string& url) {
  if (!TIdURI(url).Username.empty()) http.Request().BasicAuthentication = true;
}

}  // namespace

int RunHttpGet(const THttpGetArguments& arguments, std::ostream& errors) {
  try {
    TIdSSLIOHandlerSocket ssl;
    ssl.SetCAFile(arguments.CACertFile);
    ssl.SetVerifyPeer(!arguments.Insecure);
    TIdHTTP http;
    http.SetIOHandler(&ssl);
    http.SetConnectTimeout(arguments.ConnectTimeout);
    http.SetReadTimeout(arguments.ReadTimeout);
    http.SetHandleRedirects(arguments.FollowRedirects);
    std::unique_ptr<THttpGetOutputFile> file;
    std::unique_ptr<TStandardOutputStream> standardOutput;
    if (!arguments.OutputFile.empty()) {
      file = std::make_unique<THttpGetOutputFile>(arguments.OutputFile);
    } else {
      standardOutput = std::make_unique<TStandardOutputStream>();
    }
    TStream& output = file ? file->Stream() : *standardOutput;
    for (const std::string& url : arguments.Urls) {
      SendUrlCredentials(http, url);
      if (arguments.Text) {
        output.WriteText(http.Get(url));
      } else {
        http.Get(url, output);
      }
    }
    if (file) file->Commit();
    http.Disconnect();
  } catch (const Exception& error) {
    ReportFailure(error, errors);
    return 1;
  } catch (const std::exception& error) {
    errors << "std::exception: " << OneLine(error.what()) << '\n';
    return 1;
  }
  return 0;
}

}  // namespace pelmorix
