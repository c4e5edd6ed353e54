#include "fakes/FakeSessionEvents.h"

namespace fake {

void FakeSessionEvents::LeaveAt(double at) {
  pump_.At(at, [this] {
    if (leaving_) leaving_();
  });
}

void FakeSessionEvents::ReturnAt(double at) {
  pump_.At(at, [this] {
    if (returned_) returned_();
  });
}

void FakeSessionEvents::StartAgainAt(double at) {
  pump_.At(at, [this] {
    if (startedAgain_) startedAgain_();
  });
}

}  // namespace fake
