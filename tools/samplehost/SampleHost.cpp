// samplehost: serves the sample blog on 127.0.0.1 until SIGINT, SIGTERM or /_control/stop.
#include <signal.h>

#include <cstdio>
#include <fstream>
#include <thread>

#include "tools/samplehost/HostServer.h"

namespace {

bool WritePortFile(const std::string& path, const std::string& text) {
  // Written beside and renamed into place, so a reader never sees half a file.
  const std::string temp = path + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush()) return false;
  }
  return std::rename(temp.c_str(), path.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  samplehost::HostConfig config;
  const std::string problem =
      samplehost::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), config);
  if (problem == "help") {
    std::fputs(samplehost::UsageText().c_str(), stdout);
    return 0;
  }
  if (!problem.empty()) {
    std::fprintf(stderr, "samplehost: %s\n%s", problem.c_str(), samplehost::UsageText().c_str());
    return 2;
  }
  // Signals are taken by one thread with sigwait; every other thread inherits the mask.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  samplehost::SampleHost host(config);
  std::string error;
  if (!host.Start(error)) {
    std::fprintf(stderr, "samplehost: %s\n", error.c_str());
    return 1;
  }
  if (!config.portFile.empty() && !WritePortFile(config.portFile, host.PortFileText())) {
    std::fprintf(stderr, "samplehost: cannot write %s\n", config.portFile.c_str());
    return 1;
  }
  if (config.log || config.portFile.empty()) {
    std::fprintf(stderr, "samplehost: listening\n%s", host.PortFileText().c_str());
  }
  std::thread signalWatch([&host, signals] {
    const timespec tick{0, 200 * 1000 * 1000};
    while (!host.StopRequested()) {
      if (sigtimedwait(&signals, nullptr, &tick) > 0) host.RequestStop();
    }
  });
  host.WaitForStopRequest();
  host.Stop();
  signalWatch.join();
  if (config.log) std::fprintf(stderr, "samplehost: stopped\n");
  return 0;
}
