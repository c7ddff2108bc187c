#pragma once

#include <functional>

// Runs an event handler so that an error it raises ends the handler and
// appears in the standard error box; the window stays usable. Connect
// handlers through guarded():
//   connect(NextButton, &QPushButton::clicked, this, guarded(this, &TTestForm::NextButtonClick));
namespace ErrorGuard {
void run(const std::function<void()>& handler);
}

template <class Obj, class Ret, class... Args> auto guarded(Obj* object, Ret (Obj::*method)(Args...))
{
    return [object, method](Args... args) { ErrorGuard::run([&] { (object->*method)(args...); }); };
}
