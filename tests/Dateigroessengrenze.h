#pragma once
// A file-size limit (ulimit -f) while the object lives: a write beyond it
// fails with EFBIG, as in the program, which ignores the kernel's signal.
#include <sys/resource.h>

#include <csignal>

namespace mosaik::test {

class Dateigroessengrenze {
 public:
  explicit Dateigroessengrenze(rlim_t bytes) {
    struct sigaction ignorieren {};
    ignorieren.sa_handler = SIG_IGN;
    ::sigaction(SIGXFSZ, &ignorieren, &signal_);
    ::getrlimit(RLIMIT_FSIZE, &alt_);
    const rlimit neu{bytes, alt_.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &neu);
  }
  ~Dateigroessengrenze() {
    ::setrlimit(RLIMIT_FSIZE, &alt_);
    ::sigaction(SIGXFSZ, &signal_, nullptr);
  }
  Dateigroessengrenze(const Dateigroessengrenze&) = delete;
  Dateigroessengrenze& operator=(const Dateigroessengrenze&) = delete;

 private:
  rlimit alt_{};
  struct sigaction signal_ {};
};

}  // namespace mosaik::test
