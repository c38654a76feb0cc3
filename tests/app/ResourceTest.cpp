// Reads the compiled Windows resources and checks what the resource script embeds.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Resource {
  std::uint16_t typeId = 0;  // 0 when named
  std::u16string typeName;
  std::uint16_t nameId = 0;
  std::u16string name;
  std::uint16_t language = 0;
  std::string data;
};

class Reader {
 public:
  explicit Reader(const std::string& bytes) : bytes_(bytes) {}
  bool AtEnd() const { return pos_ >= bytes_.size(); }
  template <class T>
  T Read() {
    T value{};
    if (pos_ + sizeof(T) > bytes_.size()) throw std::runtime_error("truncated");
    std::memcpy(&value, bytes_.data() + pos_, sizeof(T));
    pos_ += sizeof(T);
    return value;
  }
  // A type or name: 0xFFFF and an ordinal, or a NUL-terminated UTF-16 string.
  void ReadIdOrName(std::uint16_t& id, std::u16string& name) {
    const auto first = Read<std::uint16_t>();
    if (first == 0xFFFF) {
      id = Read<std::uint16_t>();
      return;
    }
    for (char16_t c = first; c != 0; c = Read<std::uint16_t>()) name += c;
  }
  void Align() { pos_ = (pos_ + 3) & ~std::size_t{3}; }
  std::string Take(std::size_t size) {
    std::string out = bytes_.substr(pos_, size);
    pos_ += size;
    return out;
  }
  std::size_t pos_ = 0;

 private:
  const std::string& bytes_;
};

std::vector<Resource> ReadResources(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(file), {}};
  Reader in(bytes);
  std::vector<Resource> resources;
  while (!in.AtEnd()) {
    const std::size_t start = in.pos_;
    const auto dataSize = in.Read<std::uint32_t>();
    const auto headerSize = in.Read<std::uint32_t>();
    Resource r;
    in.ReadIdOrName(r.typeId, r.typeName);
    in.ReadIdOrName(r.nameId, r.name);
    in.Align();
    in.Read<std::uint32_t>();  // data version
    in.Read<std::uint16_t>();  // memory flags
    r.language = in.Read<std::uint16_t>();
    in.pos_ = start + headerSize;
    r.data = in.Take(dataSize);
    in.Align();
    if (dataSize > 0) resources.push_back(std::move(r));
  }
  return resources;
}

constexpr std::uint16_t kIcon = 3, kVersion = 16, kGroupIcon = 14, kManifest = 24;
constexpr std::uint16_t kGermanGermany = 1031;

class WindowsResources : public testing::Test {
 protected:
  std::vector<Resource> resources_ = ReadResources(QUARN_RES_FILE);
};

TEST_F(WindowsResources, IconGroupMainIconHoldsOne32x32Image) {
  int groups = 0;
  for (const Resource& r : resources_) {
    if (r.typeId != kGroupIcon) continue;
    ++groups;
    EXPECT_EQ(r.name, u"MAINICON");
    EXPECT_EQ(r.language, kGermanGermany);
    ASSERT_GE(r.data.size(), 6u + 14u);
    EXPECT_EQ(static_cast<std::uint8_t>(r.data[4]), 1) << "one image";
    EXPECT_EQ(static_cast<std::uint8_t>(r.data[6]), 32) << "width";
    EXPECT_EQ(static_cast<std::uint8_t>(r.data[7]), 32) << "height";
    EXPECT_EQ(static_cast<std::uint8_t>(r.data[12]), 32) << "bits per pixel";
  }
  EXPECT_EQ(groups, 1);
}

TEST_F(WindowsResources, IconImageIs32BitsPerPixelInGerman) {
  int icons = 0;
  for (const Resource& r : resources_) {
    if (r.typeId != kIcon) continue;
    ++icons;
    EXPECT_EQ(r.language, kGermanGermany);
    ASSERT_GE(r.data.size(), 16u);
    std::int32_t width = 0;
    std::uint16_t bitCount = 0;
    std::memcpy(&width, r.data.data() + 4, 4);
    std::memcpy(&bitCount, r.data.data() + 14, 2);
    EXPECT_EQ(width, 32);
    EXPECT_EQ(bitCount, 32);
  }
  EXPECT_EQ(icons, 1);
}

TEST_F(WindowsResources, ManifestIsTypeTwentyFourIdOneInGerman) {
  int manifests = 0;
  for (const Resource& r : resources_) {
    if (r.typeId != kManifest) continue;
    ++manifests;
    EXPECT_EQ(r.nameId, 1);
    EXPECT_EQ(r.language, kGermanGermany);
    for (const char* needle :
         {"<?xml version=\"1.0\" encoding=\"UTF-8\"", "name=\"Microsoft.Windows.Common-Controls\"",
          "version=\"6.0.0.0\"", "publicKeyToken=\"6595b64144ccf1df\"", "language=\"*\"",
          "processorArchitecture=\"*\"", "type=\"win32\"",
          "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>",
          // Windows Vista, the oldest the imports allow, and Windows 10 and 11
          "<supportedOS Id=\"{e2011457-1546-43c5-a5fe-008deee3d3f0}\"/>",
          "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"}) {
      EXPECT_NE(r.data.find(needle), std::string::npos) << needle;
    }
  }
  EXPECT_EQ(manifests, 1);
}

// The strings Explorer's properties show, in UTF-16, and the numeric version, from the project's.
TEST_F(WindowsResources, VersionNamesTheProgramAndItsVersion) {
  int versions = 0;
  for (const Resource& r : resources_) {
    if (r.typeId != kVersion) continue;
    ++versions;
    EXPECT_EQ(r.nameId, 1);
    EXPECT_EQ(r.language, kGermanGermany);
    const auto utf16 = [](std::string_view text) {
      std::string wide;
      for (const char c : text) wide += {c, '\0'};
      return wide;
    };
    for (const char* text : {"FileDescription", "Quarn EV calculator", "ProductVersion",
                             QUARN_VERSION, "040704B0", "quarn-ev.exe"}) {
      EXPECT_NE(r.data.find(utf16(text)), std::string::npos) << text;
    }
  }
  EXPECT_EQ(versions, 1);
}

}  // namespace
