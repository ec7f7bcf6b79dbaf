#pragma once
// The sound helper process: the program's own executable started with
// soundHelperArguments(). Its wire is stated in soundhelper.cpp.
#include <QStringList>

namespace fd {

// The arguments that start the helper (the option and this process's id).
QStringList soundHelperArguments();
// Whether argv asks for the helper; then runSoundHelper is the whole of main.
bool isSoundHelperCall(int argc, char** argv);
int runSoundHelper(int argc, char** argv);

}  // namespace fd
