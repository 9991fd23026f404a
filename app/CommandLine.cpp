#include "CommandLine.h"

#include "media/NativePath.h"

CommandLine CommandLine::parse(int argc, char **argv)
{
    CommandLine commandLine;
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--enqueue") {
            commandLine.enqueue = true;
        } else if (argument == "--new-instance") {
            commandLine.newInstance = true;
        } else if (!argument.startsWith("--")) {
            const QString url = NativePath::fromFileUrl(argument);
            commandLine.files.append(NativePath::absolutePath(
                argument.startsWith("file:") && !url.isEmpty() ? url
                                                               : NativePath::fromNative(argument)));
        }
    }
    return commandLine;
}
