#include "qrImageFile.h"

#include "qrCliError.h"

#include <OpenImageIO/imageio.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

namespace Quarn::Cli {

namespace {

namespace fs = std::filesystem;
using OIIO::TypeDesc;

// How one host depth stores a channel and how it maps to file values.
template <typename Channel>
struct Store;

template <>
struct Store<std::uint8_t> {
  static constexpr Host::Depth depth = Host::Depth::Bits8;
  static TypeDesc fileType() { return TypeDesc::UINT8; }
  static std::uint8_t opaque() { return 255; }
  static std::uint8_t fromFile(std::uint8_t v) { return v; }
  static std::uint8_t toFile(std::uint8_t v) { return v; }
};

// 16-bit hosts count 0..32768; files count 0..65535. Both ways round.
template <>
struct Store<std::uint16_t> {
  static constexpr Host::Depth depth = Host::Depth::Bits16;
  static TypeDesc fileType() { return TypeDesc::UINT16; }
  static std::uint16_t opaque() { return 32768; }
  static std::uint16_t fromFile(std::uint16_t v) {
    return std::uint16_t((std::uint32_t(v) * 32768u + 32767u) / 65535u);
  }
  static std::uint16_t toFile(std::uint16_t v) {
    const std::uint32_t h = std::min<std::uint32_t>(v, 32768u);
    return std::uint16_t((h * 65535u + 16384u) / 32768u);
  }
};

template <>
struct Store<float> {
  static constexpr Host::Depth depth = Host::Depth::Float;
  static TypeDesc fileType() { return TypeDesc::FLOAT; }
  static float opaque() { return 1.0f; }
  static float fromFile(float v) { return v; }
  static float toFile(float v) { return v; }
};

// Where the file's channels come from: grey or RGB, with or without alpha.
struct ChannelMap {
  int count;
  int rgb[3];
  int alpha;  // -1: none
};

ChannelMap channelMap(const OIIO::ImageSpec& spec) {
  const int n = spec.nchannels;
  if (n <= 2) return {n, {0, 0, 0}, n == 2 ? 1 : -1};
  const int alpha = spec.alpha_channel >= 0 ? spec.alpha_channel : (n >= 4 ? 3 : -1);
  return {n, {0, 1, 2}, alpha};
}

template <typename Channel>
void fillFromFile(Host::HostImage& image, const std::vector<Channel>& file, const ChannelMap& map) {
  auto* out = reinterpret_cast<Channel*>(image.data());
  const std::size_t pixels = std::size_t(image.width()) * image.height();
  for (std::size_t i = 0; i < pixels; ++i) {
    const Channel* in = file.data() + i * map.count;
    Channel* argb = out + i * 4;
    argb[0] = map.alpha >= 0 ? Store<Channel>::fromFile(in[map.alpha]) : Store<Channel>::opaque();
    for (int c = 0; c < 3; ++c) argb[c + 1] = Store<Channel>::fromFile(in[map.rgb[c]]);
  }
}

template <typename Channel>
Host::HostImage readAs(OIIO::ImageInput& in, const std::string& path) {
  const OIIO::ImageSpec& spec = in.spec();
  std::vector<Channel> file(std::size_t(spec.width) * spec.height * spec.nchannels);
  if (!in.read_image(0, 0, 0, spec.nchannels, Store<Channel>::fileType(), file.data()))
    throw usageError(path + ": cannot read the image: " + in.geterror());
  Host::HostImage image(spec.width, spec.height, Store<Channel>::depth);
  fillFromFile(image, file, channelMap(spec));
  return image;
}

template <typename Channel>
std::vector<Channel> fileRows(const Host::HostImage& image, int channels) {
  const auto* in = reinterpret_cast<const Channel*>(image.data());
  const std::size_t pixels = std::size_t(image.width()) * image.height();
  std::vector<Channel> file(pixels * channels);
  for (std::size_t i = 0; i < pixels; ++i) {
    const Channel* argb = in + i * 4;
    Channel* out = file.data() + i * channels;
    for (int c = 0; c < 3; ++c) out[c] = Store<Channel>::toFile(argb[c + 1]);
    if (channels == 4) out[3] = Store<Channel>::toFile(argb[0]);
  }
  return file;
}

template <typename Channel>
bool writeAs(OIIO::ImageOutput& out, const std::string& temp, const Host::HostImage& image) {
  const int channels = out.supports("alpha") ? 4 : 3;
  OIIO::ImageSpec spec(image.width(), image.height(), channels, Store<Channel>::fileType());
  if (channels == 4) spec.alpha_channel = 3;
  if (!out.open(temp, spec)) return false;
  const std::vector<Channel> file = fileRows<Channel>(image, channels);
  const bool written = out.write_image(Store<Channel>::fileType(), file.data());
  return out.close() && written;
}

std::unique_ptr<OIIO::ImageInput> openInput(const std::string& path) {
  std::error_code ec;
  if (!fs::exists(path, ec)) throw usageError(path + ": no such file");
  auto in = OIIO::ImageInput::open(path);
  if (!in) throw usageError(path + ": not a readable image: " + OIIO::geterror());
  return in;
}

std::string folderOf(const std::string& path) {
  const fs::path parent = fs::path(path).parent_path();
  return parent.empty() ? "." : parent.string();
}

std::string temporaryName(const std::string& path) {
  const fs::path p(path);
  const std::string name = "." + p.filename().string() + ".part" + std::to_string(::getpid());
  return (p.parent_path() / name).string();
}

}  // namespace

Host::Depth naturalDepth(const std::string& path) {
  auto in = openInput(path);
  const TypeDesc format = in->spec().format;
  if (format.basetype == TypeDesc::UINT8 || format.basetype == TypeDesc::INT8)
    return Host::Depth::Bits8;
  if (format.is_floating_point()) return Host::Depth::Float;
  return Host::Depth::Bits16;
}

Host::HostImage readImage(const std::string& path, Host::Depth depth) {
  auto in = openInput(path);
  switch (depth) {
    case Host::Depth::Bits8: return readAs<std::uint8_t>(*in, path);
    case Host::Depth::Bits16: return readAs<std::uint16_t>(*in, path);
    case Host::Depth::Float: return readAs<float>(*in, path);
  }
  throw usageError(path + ": unknown depth");
}

void checkWritable(const std::string& path) {
  if (!OIIO::ImageOutput::create(path))
    throw usageError(path + ": no image format is known for this file name");
  const std::string folder = folderOf(path);
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) throw usageError(path + ": the folder " + folder + " does not exist");
  if (::access(folder.c_str(), W_OK) != 0)
    throw usageError(path + ": the folder " + folder + " is not writable");
}

void writeImage(const Host::HostImage& image, const std::string& path,
                const std::atomic<bool>* cancel) {
  auto out = OIIO::ImageOutput::create(path);
  if (!out) throw usageError(path + ": no image format is known for this file name");
  const std::string temp = temporaryName(path);
  bool written = false;
  switch (image.depth()) {
    case Host::Depth::Bits8: written = writeAs<std::uint8_t>(*out, temp, image); break;
    case Host::Depth::Bits16: written = writeAs<std::uint16_t>(*out, temp, image); break;
    case Host::Depth::Float: written = writeAs<float>(*out, temp, image); break;
  }
  const std::string problem = written ? "" : out->geterror();
  out.reset();
  std::error_code ec;
  if (!written) {
    fs::remove(temp, ec);
    throw usageError(path + ": cannot write the image: " + problem);
  }
  if (cancel && cancel->load()) {
    fs::remove(temp, ec);
    throw CliError(kExitInterrupted, path + ": interrupted; nothing written");
  }
  fs::rename(temp, path, ec);
  if (ec) {
    fs::remove(temp, ec);
    throw usageError(path + ": cannot move the finished image into place: " + ec.message());
  }
}

}  // namespace Quarn::Cli
