#include "tools/publish/key_files.h"

#include <fcntl.h>
#include <openssl/bio.h>
#include <openssl/pem.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/exception.h"

namespace pelmorix {
namespace {

std::string PemText(EVP_PKEY* key, bool privatePart) {
  BIO* bio = BIO_new(BIO_s_mem());
  const int written =
      privatePart ? PEM_write_bio_PrivateKey(bio, key, nullptr, nullptr, 0, nullptr, nullptr)
                  : PEM_write_bio_PUBKEY(bio, key);
  char* data = nullptr;
  const long size = BIO_get_mem_data(bio, &data);
  std::string text = written == 1 && size > 0 ? std::string(data, static_cast<size_t>(size)) : "";
  BIO_free(bio);
  if (text.empty()) throw Exception("cannot write the key in PEM form");
  return text;
}

// Creates path with the mode given, never over an existing file: the mode holds from the first
// byte, so no other user can open the file in between.
void CreateNewFile(const std::string& path, mode_t mode, const std::string& content) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (fd < 0) {
    throw Exception(
        path + ": " +
        (errno == EEXIST ? "a key is there already, not overwritten" : std::strerror(errno)));
  }
  const bool complete =
      ::write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
  const bool closed = ::close(fd) == 0;
  if (!complete || !closed) {
    ::unlink(path.c_str());
    throw Exception(path + ": cannot be written");
  }
}

}  // namespace

void WriteNewKeyPair(const std::string& folder) {
  const std::string privatePath = folder + "/" + kPrivateKeyFile;
  const std::string publicPath = folder + "/" + kPublicKeyFile;
  struct stat info;
  for (const std::string& path : {privatePath, publicPath}) {
    if (::lstat(path.c_str(), &info) == 0) {
      throw Exception(path + ": a key is there already, not overwritten");
    }
  }
  const TKey key(EVP_EC_gen("P-256"));
  if (key == nullptr) throw Exception("cannot make a P-256 key");
  CreateNewFile(privatePath, 0600, PemText(key.get(), true));
  try {
    CreateNewFile(publicPath, 0644, PemText(key.get(), false));
  } catch (...) {
    ::unlink(privatePath.c_str());  // a private key without its public half is of no use
    throw;
  }
}

TKey ReadPrivateKey(const std::string& path) {
  BIO* bio = BIO_new_file(path.c_str(), "rb");
  if (bio == nullptr) throw Exception(path + ": cannot be opened");
  TKey key(PEM_read_bio_PrivateKey(bio, nullptr, nullptr, nullptr));
  BIO_free(bio);
  char group[32] = {};
  if (key == nullptr || !EVP_PKEY_is_a(key.get(), "EC") ||
      !EVP_PKEY_get_group_name(key.get(), group, sizeof group, nullptr) ||
      std::strcmp(group, "prime256v1") != 0) {
    throw Exception(path + ": no P-256 private key in PEM form");
  }
  return key;
}

}  // namespace pelmorix
