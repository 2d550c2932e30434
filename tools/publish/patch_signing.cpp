#include "tools/publish/patch_signing.h"

#include <map>

#include "base/codepage.h"
#include "base/convert.h"
#include "base/exception.h"
#include "base/stream.h"
#include "launcher/patch_digests.h"
#include "launcher/patch_signature.h"
#include "tools/publish/key_files.h"

namespace pelmorix {
namespace {

std::string Field(const std::string& utf8, const char* what) {
  if (utf8.find('|') != std::string::npos) {
    throw Exception(std::string(what) + " \"" + Utf8ToCp1252(utf8) +
                    "\" holds a \"|\", which would split it");
  }
  return Utf8ToCp1252(utf8) + "|";
}

std::string Sign(const std::string& keyFile, const std::string& message) {
  const TKey key = ReadPrivateKey(keyFile);
  EVP_MD_CTX* context = EVP_MD_CTX_new();
  size_t size = 0;
  std::string signature;
  if (context != nullptr &&
      EVP_DigestSignInit(context, nullptr, EVP_sha256(), nullptr, key.get()) == 1 &&
      EVP_DigestSign(context, nullptr, &size, nullptr, 0) == 1) {
    signature.resize(size);
    if (EVP_DigestSign(context, reinterpret_cast<unsigned char*>(signature.data()), &size,
                       reinterpret_cast<const unsigned char*>(message.data()),
                       message.size()) == 1) {
      signature.resize(size);
    } else {
      signature.clear();
    }
  }
  EVP_MD_CTX_free(context);
  if (signature.empty()) throw Exception(keyFile + ": signing failed");
  return signature;
}

void WriteFile(const std::string& path, const std::string& content) {
  TFileStream stream(path, fmCreate);
  stream.Write(content.data(), static_cast<int64_t>(content.size()));
}

}  // namespace

void SignPatch(const TPublishCommand& command) {
  // The launcher puts its id into the signed text in decimal; "0101" would never match.
  const std::string id = IntToStr(StrToInt(command.InstallationId));
  const std::string type = Utf8ToCp1252(command.PatchType);
  if (type.find_first_of("\r\n") != std::string::npos) {
    throw Exception("the type holds a line break, which the signed text cannot hold");
  }
  std::string list = Field(command.PatchName, "the name") +
                     Field(command.PatchVersion, "the version") + "||" +
                     IntToStr(static_cast<int64_t>(command.Files.size())) + "|";
  std::map<std::string, std::string> digests;
  for (const TPublishFile& file : command.Files) {
    const std::string name = Utf8ToCp1252(file.Name);
    if (name.find('\n') != std::string::npos) {
      throw Exception("the file \"" + name + "\" has a line break, which the digests cannot hold");
    }
    list += Field(command.UrlPrefix + file.Name, "the address") + Field(file.Name, "the file") +
            Field(file.Target, "the target");
    digests[name] = FileSha256(command.Folder + "/" + file.Name);
  }
  ParsePatchList(list);  // what the launcher would refuse is not published
  const std::string digestsText = FormatPatchDigests(digests);
  const std::string signature =
      Sign(command.KeyFile, PatchSignedMessage(id, type, list, digestsText));
  WriteFile(command.ListFile, list);
  WriteFile(command.ListFile + ".sha256", digestsText);
  WriteFile(command.ListFile + ".sig", signature);
}

}  // namespace pelmorix
