// How a test puts a path into GTK's file chooser as a person would, in bash (xdotool, xclip).
#pragma once

#include <string>

namespace ChooserSteps
{

// put P: opens the focused chooser's location field and pastes P there, returning once the
// chooser has taken the text. Typed a key at a time, a path races GTK's completion of what is
// typed so far, which a loaded machine lets garble it. Holds no single quote, so that it can
// stand inside 'bash -c' quotes.
inline constexpr const char* kPut = R"sh(
put() { log=$(mktemp); printf %s "$1" > "$log.in"
        xclip -i -selection clipboard -quiet -verbose -loops 1 "$log.in" > "$log" 2>&1 & c=$!
        for t in $(seq 100); do grep -q "Waiting for a selection request" "$log" && break
          sleep 0.05; done
        xdotool key ctrl+l key ctrl+a key ctrl+v
        for t in $(seq 120); do kill -0 $c 2>/dev/null || { rm -f "$log" "$log.in"; return 0; }
          sleep 0.05; done
        kill $c; rm -f "$log" "$log.in"; echo "the chooser never took $1" >&2; return 1; }
)sh";

// The command line that gives the chooser window the keyboard and puts the path into it (the path
// holds no double quote).
inline std::string PutCommand(unsigned long chooser, const std::string& path)
{
    return "bash -c '" + std::string(kPut) + "xdotool windowfocus --sync " +
           std::to_string(chooser) + " && put \"" + path + "\"'";
}

} // namespace ChooserSteps
