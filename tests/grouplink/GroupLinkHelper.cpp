// A stand-in host process for the cross-process tests. It hosts group-linked
// test instances and obeys one command per line on standard input, answering
// one line on standard output:
//   open NAME              new instance on segment NAME   -> "slot S"
//   set I PARAM VALUE      host sets a plain value         -> "ok"
//   block I                start of an audio block         -> "ok"
//   get I PARAM            current plain value             -> the value
//   close I                destroy the instance            -> "ok"
//   foreign NAME MAGIC N   hold a non-segment object NAME whose header
//                          holds MAGIC and the size N      -> "held" or "failed"
// End of input or "quit" ends the process normally.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "grouplink/SegmentLayout.h"
#include "platform/SharedMemory.h"
#include "testsupport/LinkedInstance.h"

namespace {

struct ForeignHeader {
  char magic[4];
  uint64_t size;
};

void WriteForeignHeader(platform::SharedMemory& memory, void* context) {
  const ForeignHeader& header = *static_cast<ForeignHeader*>(context);
  uint8_t* address = memory.Address();
  std::memcpy(address, header.magic, 4);
  segment_layout::StoreU64(address, segment_layout::kDataSizeOffset, header.size);
}

}  // namespace

int main() {
  std::vector<std::unique_ptr<LinkedInstance>> instances;
  std::vector<std::unique_ptr<platform::SharedMemory>> foreign;
  std::string line;
  while (std::getline(std::cin, line)) {
    std::istringstream in(line);
    std::string command;
    in >> command;
    std::string reply = "ok";
    size_t i = 0;
    if (command == "open") {
      std::string name;
      in >> name;
      instances.emplace_back(new LinkedInstance(name));
      reply = "slot " + std::to_string(instances.back()->link->Slot());
    } else if (command == "set") {
      int param = 0;
      double value = 0;
      in >> i >> param >> value;
      instances.at(i)->HostSets(param, value);
    } else if (command == "block") {
      in >> i;
      instances.at(i)->RunBlock();
    } else if (command == "get") {
      int param = 0;
      in >> i >> param;
      char text[64];
      std::snprintf(text, sizeof text, "%.17g", instances.at(i)->Value(param));
      reply = text;
    } else if (command == "close") {
      in >> i;
      instances.at(i).reset();
    } else if (command == "foreign") {
      std::string name, magic;
      ForeignHeader header = {};
      in >> name >> magic >> header.size;
      std::memcpy(header.magic, magic.c_str(), std::min<size_t>(4, magic.size()));
      platform::SharedMemory::OpenResult result;
      foreign.push_back(platform::SharedMemory::Open(name.c_str(), 34400, result, WriteForeignHeader, &header));
      reply = result == platform::SharedMemory::OpenResult::kCreated ? "held" : "failed";
    } else if (command == "quit") {
      break;
    } else {
      reply = "unknown command";
    }
    std::cout << reply << std::endl;
  }
  return 0;
}
