// The checks of the menu's own programs: the digests against published values, and the signature
// findings on a real program file signed by osslsigncode with a throwaway certificate, then
// changed, as an author's tools would leave it.
#include "menu_check/checks/menu_program_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "menu_check/checks/authenticode.h"
#include "menu_check/checks/sha_digest.h"
#include "menu_check/medium_check.h"
#ifdef TOLVAR_IMAGE_CHECK
#include "menu_check/image_check.h"
#endif
#include "tests/support/scratch_medium.h"

namespace tolvar {
namespace {

using testing::AllOf;
using testing::Contains;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::Not;
namespace fs = std::filesystem;

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : bytes) hex += {kDigits[c >> 4], kDigits[c & 15]};
  return hex;
}

std::string Digest(DigestKind kind, const std::string& text, int pieces = 1) {
  ShaDigest digest(kind);
  const size_t piece = text.size() / pieces + 1;
  for (size_t at = 0; at < text.size(); at += piece) {
    digest.Update(reinterpret_cast<const uint8_t*>(text.data()) + at,
                  std::min(piece, text.size() - at));
  }
  return Hex(digest.Finish());
}

// FIPS 180's examples, fed whole and in pieces that cross the 64-byte blocks.
TEST(ShaDigestTest, GivesThePublishedDigests) {
  const std::string two_blocks = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
  EXPECT_EQ(Digest(DigestKind::kSha1, "abc"), "a9993e364706816aba3e25717850c26c9cd0d89d");
  EXPECT_EQ(Digest(DigestKind::kSha1, two_blocks, 3), "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
  EXPECT_EQ(Digest(DigestKind::kSha256, ""),
            "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Digest(DigestKind::kSha256, "abc"),
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(Digest(DigestKind::kSha256, two_blocks, 7),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  EXPECT_EQ(Digest(DigestKind::kSha256, std::string(1000000, 'a'), 13),
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

void Put(std::string& bytes, size_t at, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}

// A small but complete 32-bit Windows program file: headers and one section of code.
std::string ProgramFile() {
  std::string bytes(0x400, '\0');
  bytes[0] = 'M', bytes[1] = 'Z';
  Put(bytes, 0x3c, 0x40, 4);
  bytes.replace(0x40, 4, std::string("PE\0\0", 4));
  Put(bytes, 0x44, 0x14c, 2);  // i386
  Put(bytes, 0x46, 1, 2);      // one section
  Put(bytes, 0x54, 0xe0, 2);   // the optional header's size
  Put(bytes, 0x56, 0x102, 2);  // an executable for 32-bit machines
  const size_t optional = 0x58;
  Put(bytes, optional, 0x10b, 2);
  Put(bytes, optional + 4, 0x200, 4);      // size of code
  Put(bytes, optional + 16, 0x1000, 4);    // entry point
  Put(bytes, optional + 28, 0x400000, 4);  // image base
  Put(bytes, optional + 32, 0x1000, 4);    // section alignment
  Put(bytes, optional + 36, 0x200, 4);     // file alignment
  Put(bytes, optional + 40, 6, 2);
  Put(bytes, optional + 56, 0x2000, 4);  // size of image
  Put(bytes, optional + 60, 0x200, 4);   // size of headers
  Put(bytes, optional + 68, 2, 2);       // a GUI program
  Put(bytes, optional + 92, 16, 4);      // data directories
  const size_t section = optional + 0xe0;
  bytes.replace(section, 5, ".text");
  Put(bytes, section + 8, 0x200, 4);
  Put(bytes, section + 12, 0x1000, 4);
  Put(bytes, section + 16, 0x200, 4);
  Put(bytes, section + 20, 0x200, 4);
  Put(bytes, section + 36, 0x60000020, 4);
  for (size_t i = 0x200; i < 0x400; ++i) bytes[i] = static_cast<char>(0xc3 ^ (i * 7));
  return bytes;
}

std::string Read(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> Lines(const std::vector<Finding>& findings) {
  std::vector<std::string> lines;
  for (const Finding& f : findings) {
    lines.push_back(f.file + (f.severity == Severity::kNote ? " note: " : " warning: ") +
                    f.message);
  }
  return lines;
}

std::vector<Finding> FindingsOn(const std::string& bytes) {
  std::vector<Finding> findings;
  SignatureFindings(bytes, &findings);
  return findings;
}

// Programs signed as an author signs them: osslsigncode, with one certificate made for the suite.
class SignedProgramTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (std::system("osslsigncode --version >/dev/null 2>&1") != 0 ||
        std::system("openssl version >/dev/null 2>&1") != 0) {
      return;
    }
    certificates_ = new ScratchMedium;
    made_ = Shell(
                "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=Throwaway "
                "-keyout key.pem -out cert.pem") == 0;
    keys_ = certificates_->root();
  }
  static void TearDownTestSuite() {
    delete certificates_;
    certificates_ = nullptr;
  }

  void SetUp() override {
    if (certificates_ == nullptr) GTEST_SKIP() << "osslsigncode or openssl is not installed";
    ASSERT_TRUE(made_) << "openssl made no certificate";
    WriteFile(medium_.root() / "unsigned.exe", ProgramFile());
  }

  static int Shell(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str());
  }
  static std::string Key(const char* name) { return "'" + (keys_ / name).string() + "'"; }

  // The program signed with digest `hash` ("sha256", "sha1").
  std::string Signed(const std::string& hash) {
    const std::string out = "signed-" + hash + ".exe";
    EXPECT_EQ(Shell("osslsigncode sign -certs " + Key("cert.pem") + " -key " + Key("key.pem") +
                    " -h " + hash + " -in unsigned.exe -out " + out),
              0);
    return Read(medium_.root() / out);
  }

  // Whether osslsigncode, trusting the test's certificate, finds `bytes` intact.
  bool Verified(const std::string& bytes) {
    WriteFile(medium_.root() / "verify.exe", bytes);
    return Shell("osslsigncode verify -CAfile " + Key("cert.pem") + " -in verify.exe") == 0;
  }

  static inline ScratchMedium* certificates_ =
      nullptr;  // changes the working folder back at its end
  static inline bool made_ = false;
  static inline fs::path keys_;
  ScratchMedium medium_;
};

TEST_F(SignedProgramTest, AnUnsignedMenuGetsANoteAndASignedOneNothing) {
  EXPECT_THAT(Lines(FindingsOn(ProgramFile())),
              ElementsAre(AllOf(HasSubstr("tolvar-autorun.exe note: the menu carries no "
                                          "signature"),
                                HasSubstr("SmartScreen"))));
  for (const char* hash : {"sha256", "sha1"}) {
    const std::string bytes = Signed(hash);
    ASSERT_TRUE(Verified(bytes)) << hash;
    EXPECT_EQ(ReadSignature(bytes).detail, hash == std::string("sha1") ? "SHA-1" : "SHA-256");
    EXPECT_THAT(FindingsOn(bytes), IsEmpty()) << hash;
  }
}

TEST_F(SignedProgramTest, AMenuChangedAfterSigningIsAWarningWhereverTheChangeIs) {
  const std::string bytes = Signed("sha256");
  std::string in_code = bytes;
  in_code[0x234] ^= 1;
  std::string in_header = bytes;
  in_header[0x44] = 0x64;  // another machine
  std::string appended = bytes + std::string(16, 'x');
  for (const std::string& changed : {in_code, in_header, appended}) {
    EXPECT_THAT(Lines(FindingsOn(changed)),
                ElementsAre(HasSubstr("tolvar-autorun.exe warning: the menu was changed after it "
                                      "was signed: the SHA-256 digest in its signature does not "
                                      "match the file")));
  }
  EXPECT_FALSE(Verified(in_code));

  // What is left out of the digest may change: the checksum, which signing tools fill in.
  std::string checksum = bytes;
  checksum[0x58 + 64] ^= 0x5a;
  EXPECT_THAT(FindingsOn(checksum), IsEmpty());
  EXPECT_EQ(ReadSignature(Signed("sha1")).state, SignatureVerdict::State::kIntact);
}

TEST_F(SignedProgramTest, ASignatureThatCannotBeReadIsAWarning) {
  std::string bytes = Signed("sha256");
  const size_t entry = 0x58 + 96 + 4 * 8;
  const uint32_t table = static_cast<uint8_t>(bytes[entry]) |
                         static_cast<uint8_t>(bytes[entry + 1]) << 8 |
                         static_cast<uint8_t>(bytes[entry + 2]) << 16;
  std::string garbled = bytes;
  garbled[table + 8 + 6] ^= 0x40;  // inside the first object identifier
  EXPECT_THAT(Lines(FindingsOn(garbled)),
              ElementsAre(HasSubstr("warning: the menu's signature cannot be read (it holds no "
                                    "PKCS#7 signed data)")));
  std::string beyond = bytes;
  Put(beyond, entry + 4, static_cast<uint32_t>(bytes.size()), 4);
  EXPECT_THAT(Lines(FindingsOn(beyond)),
              ElementsAre(HasSubstr("(its certificate table lies outside the file)")));
}

TEST(SignatureFindingsTest, AFileThatIsNoProgramIsNotTheSignaturesBusiness) {
  EXPECT_THAT(FindingsOn(""), IsEmpty());
  EXPECT_THAT(FindingsOn("MZ" + std::string(100, '\xff')), IsEmpty());
  std::string cut = ProgramFile().substr(0, 0x60);
  EXPECT_EQ(ReadSignature(cut).state, SignatureVerdict::State::kNotAProgram);
}

TEST(CheckMediumProgramsTest, TheMediumsRootIsCheckedForTheMenuFileAndTheWindowsMenu) {
  ScratchMedium medium;
  EXPECT_THAT(Lines(CheckMedium(".", Targets{}).findings),
              Contains(HasSubstr(". note: the menu looks for menu/config.mnu in the folder it is "
                                 "started in, and then in the folder of its own program")));
  medium.WriteDefinition("T\r\n$null$\r\n1\r\nA\r\n$exit$\r\n");
  // As Windows finds it, in any letter case.
  medium.Write("Tolvar-Autorun.exe", ProgramFile());
  const std::vector<std::string> both = Lines(CheckMedium(".", Targets{}).findings);
  EXPECT_THAT(both, Contains(HasSubstr("tolvar-autorun.exe note: the menu carries no signature")));
  EXPECT_THAT(both, Not(Contains(HasSubstr("the menu looks for"))));
  EXPECT_THAT(Lines(CheckMedium(".", Targets{false, true}).findings),
              Not(Contains(HasSubstr("signature"))));
}

#ifdef TOLVAR_IMAGE_CHECK
// An image is checked for the same signature: the Windows menu read from the image, as Windows
// finds it, whatever its letter case there.
TEST_F(SignedProgramTest, AnImageIsCheckedForTheMenusSignatureAsAFolderIs) {
  if (std::system("xorriso -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xorriso";
  const std::string signed_program = Signed("sha256");
  std::string changed = signed_program;
  changed[0x234] ^= 1;
  for (const std::string& program : {ProgramFile(), signed_program, changed}) {
    ScratchMedium medium;
    medium.WriteDefinition("T\r\n$null$\r\n1\r\nA\r\n$exit$\r\n");
    medium.Write("TOLVAR-AUTORUN.EXE", program);
    const fs::path image = medium.root().string() + ".iso";
    ASSERT_EQ(Shell("xorriso -as mkisofs -R -J -o '" + image.string() + "' '" +
                    medium.root().string() + "'"),
              0);
    const CheckReport report = CheckImage(image.string(), ".", Targets{});
    std::error_code ignored;
    fs::remove(image, ignored);
    std::vector<Finding> on_program;
    for (const Finding& finding : report.findings) {
      if (finding.file == kWindowsMenuProgram) on_program.push_back(finding);
    }
    if (program == ProgramFile()) {
      EXPECT_THAT(Lines(on_program), ElementsAre(HasSubstr("note: the menu carries no signature")));
    } else if (program == changed) {
      EXPECT_THAT(Lines(on_program), ElementsAre(HasSubstr("warning: the menu was changed after "
                                                           "it was signed")));
    } else {
      EXPECT_THAT(on_program, IsEmpty());
    }
  }
}
#endif

}  // namespace
}  // namespace tolvar
