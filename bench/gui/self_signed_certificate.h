#pragma once
// A throw-away certificate for 127.0.0.1, made when a benchmark starts: the key and
// the self-signed certificate for its https server, and the certificate as a PEM file
// that the page fetch is told to trust.

#include <openssl/ec.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace shop::bench {

class SelfSignedCertificate {
 public:
  explicit SelfSignedCertificate(const std::filesystem::path& pem_file) : pem_file_(pem_file) {
    key_ = EVP_EC_gen("P-256");
    certificate_ = X509_new();
    if (key_ == nullptr || certificate_ == nullptr) {
      throw std::runtime_error("cannot make a key");
    }
    X509_set_version(certificate_, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(certificate_), 1);
    X509_gmtime_adj(X509_getm_notBefore(certificate_), -60);
    X509_gmtime_adj(X509_getm_notAfter(certificate_), 24 * 3600);
    X509_set_pubkey(certificate_, key_);
    X509_NAME* name = X509_get_subject_name(certificate_);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
    X509_set_issuer_name(certificate_, name);
    add_extension(NID_basic_constraints, "critical,CA:TRUE");
    add_extension(NID_subject_alt_name, "IP:127.0.0.1");
    if (X509_sign(certificate_, key_, EVP_sha256()) == 0) {
      throw std::runtime_error("cannot sign the certificate");
    }
    std::FILE* file = std::fopen(pem_file_.c_str(), "w");
    if (file == nullptr || PEM_write_X509(file, certificate_) == 0) {
      throw std::runtime_error("cannot write the certificate");
    }
    std::fclose(file);
  }
  ~SelfSignedCertificate() {
    X509_free(certificate_);
    EVP_PKEY_free(key_);
  }
  SelfSignedCertificate(const SelfSignedCertificate&) = delete;
  SelfSignedCertificate& operator=(const SelfSignedCertificate&) = delete;

  X509* certificate() const { return certificate_; }
  EVP_PKEY* key() const { return key_; }
  const std::filesystem::path& pem_file() const { return pem_file_; }

 private:
  void add_extension(int nid, const char* value) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, certificate_, certificate_, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
    if (extension == nullptr) {
      throw std::runtime_error("cannot make a certificate extension");
    }
    X509_add_ext(certificate_, extension, -1);
    X509_EXTENSION_free(extension);
  }

  std::filesystem::path pem_file_;
  EVP_PKEY* key_ = nullptr;
  X509* certificate_ = nullptr;
};

}  // namespace shop::bench
