// The Windows serial driver takes the rate itself (DCB.BaudRate); the standard rates it knows.
#include "companions/RS232Config.h"

namespace kro {

unsigned baudRateConstant(int32_t baudRate) {
  switch (baudRate) {
    case 110: case 300: case 600: case 1200: case 2400: case 4800: case 9600: case 14400:
    case 19200: case 38400: case 56000: case 57600: case 115200: case 128000: case 256000:
      return static_cast<unsigned>(baudRate);
    default:
      return 0;
  }
}

}  // namespace kro
