#include "sim/Options.h"

#include <cerrno>
#include <cstdlib>

#include "image/SettingsImage.h"

namespace zorvsim {
namespace {

// Decimal, or hexadecimal with 0x; the whole text must be a number.
std::optional<unsigned> ParseNumber(const std::string& text) {
  if (text.empty() || text[0] == '-' || text[0] == '+') return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const unsigned long value = std::strtoul(text.c_str(), &end, 0);
  if (errno != 0 || end == nullptr || *end != '\0' || value > 0xFFFFFFFFUL) return std::nullopt;
  return static_cast<unsigned>(value);
}

}  // namespace

std::string UsageText() {
  return "usage: zorv-sim [--product G|g|b|d|c] [--chip \"TEXT\"] [--blank] [--no-program] [--fast]\n"
         "                [--blank-after-flash]\n"
         "                [--port DEVICE] [--image FILE.joy] [--save-image FILE.joy]\n"
         "                [--save-flash FILE.bin] [failure options]\n"
         "\n"
         "Plays a snow-plow valve controller and its boot loader on a new pseudo-terminal\n"
         "(or on DEVICE, opened raw at 9600 8N1). The first output line is \"port: PATH\".\n"
         "Runs until SIGINT or SIGTERM, then writes the files asked for and exits.\n"
         "SIGUSR1 pulls the cable and plugs it back: the pseudo-terminal closes and a new one\n"
         "opens (its path on a new \"port: PATH\" line). SIGUSR2 switches the controller off\n"
         "and on: its boot loader announces itself, as at every power-up.\n"
         "\n"
         "  --product X          product code sent as identification (default g)\n"
         "  --chip TEXT          boot loader identification line (default \"ATmega16 BOOT\")\n"
         "  --blank              settings memory all 255 (a never-configured controller)\n"
         "  --no-program         no controller program: starts in the boot loader\n"
         "  --fast               no 9600-baud wire time\n"
         "  --latency MS         hold every byte sent for MS ms, as a USB adapter's buffer does\n"
         "  --blank-after-flash  a program started after flash was written finds its settings\n"
         "                       memory blank (new firmware that resets the settings)\n"
         "  --port DEVICE        serve a real serial device instead of a pseudo-terminal\n"
         "  --image FILE.joy     settings memory from a switch file (default: default image)\n"
         "  --save-image FILE    write the settings memory at exit\n"
         "  --save-flash FILE    write the flash memory at exit\n"
         "failure options:\n"
         "  --silent             never announce the product code (0xFF is still answered)\n"
         "  --silence-after N    stop answering in every transfer after N image bytes\n"
         "  --wrong-echo K       echo image byte K wrong, once, during an upload\n"
         "  --nak N              refuse (NAK) the next N boot frames A/E/D/F\n"
         "  --corrupt-flash ADDR flip the flash byte at ADDR whenever its page is written\n"
         "  --corrupt-flash-once ADDR  the same, on the first write of that page only\n"
         "  --late-readback ADDR answer the first read-back of ADDR 10.5 s late, after the\n"
         "                       tool's time limit (what follows it waits behind it)\n"
         "  --help               this text\n";
}

ParseResult ParseOptions(const std::vector<std::string>& arguments) {
  ParseResult result;
  SimOptions& o = result.options;
  auto fail = [&result](std::string text) {
    result.error = std::move(text);
    return result;
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& name = arguments[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= arguments.size()) return std::nullopt;
      return arguments[++i];
    };
    auto number = [&]() -> std::optional<unsigned> {
      const auto text = value();
      return text ? ParseNumber(*text) : std::nullopt;
    };
    if (name == "--help" || name == "-h") {
      result.help = true;
    } else if (name == "--blank") {
      o.blank = true;
    } else if (name == "--no-program") {
      o.noProgram = true;
    } else if (name == "--fast") {
      o.fast = true;
    } else if (name == "--blank-after-flash") {
      o.blankAfterFlash = true;
    } else if (name == "--silent") {
      o.silent = true;
    } else if (name == "--product") {
      const auto text = value();
      if (!text || text->size() != 1 ||
          !zorv::product::IsProductCode(static_cast<std::uint8_t>((*text)[0]))) {
        return fail("--product needs one of G, g, b, d, c");
      }
      o.product = static_cast<std::uint8_t>((*text)[0]);
    } else if (name == "--chip") {
      const auto text = value();
      if (!text) return fail("--chip needs the identification text");
      o.chipLine = *text;
    } else if (name == "--port" || name == "--image" || name == "--save-image" ||
               name == "--save-flash") {
      const auto text = value();
      if (!text || text->empty()) return fail(name + " needs a file name");
      std::string& target = name == "--port"         ? o.port
                            : name == "--image"      ? o.image
                            : name == "--save-image" ? o.saveImage
                                                     : o.saveFlash;
      target = *text;
    } else if (name == "--latency") {
      const auto ms = number();
      if (!ms || *ms > 1000) return fail("--latency needs milliseconds 0..1000");
      o.latencyMs = *ms;
    } else if (name == "--silence-after") {
      o.silenceAfter = number();
      if (!o.silenceAfter) return fail("--silence-after needs a byte count");
    } else if (name == "--wrong-echo") {
      o.wrongEcho = number();
      if (!o.wrongEcho || *o.wrongEcho > 255) return fail("--wrong-echo needs a byte index 0..255");
    } else if (name == "--nak") {
      const auto count = number();
      if (!count) return fail("--nak needs a frame count");
      o.nak = *count;
    } else if (name == "--corrupt-flash" || name == "--corrupt-flash-once") {
      o.corruptFlash = number();
      o.corruptOnce = name == "--corrupt-flash-once";
      if (!o.corruptFlash) return fail(name + " needs a flash address");
    } else if (name == "--late-readback") {
      o.lateReadBack = number();
      if (!o.lateReadBack) return fail("--late-readback needs a flash address");
    } else {
      return fail("unknown option: " + name);
    }
  }
  if (o.blank && !o.image.empty()) return fail("--blank and --image exclude each other");
  return result;
}

}  // namespace zorvsim
