#include "tools/skingen/button_words.h"

#include <iterator>

namespace skingen {

namespace {

struct Word {
    const char* image;
    const char* word;
};

constexpr Word kWords[] = {
    {"copy", "copy"},
    {"default", "default"},
    {"random", "random"},
    {"reset", "reset"},
    {"selectall", "select all"},
    {"clearall", "clear all"},
    {"fload", "load"},
    {"fsave", "save"},
    {"fwriteone", "write one"},
    {"fwriteall", "write all"},
    {"vcosave-sw", "VCO"},
    {"flexisave-sw", "Flexi"},
    {"od-sw", "overdrive"},
    {"eq-sw", "equalizer"},
    {"ch-sw", "chorus"},
    {"dl-sw", "delay"},
    {"pm-selectdisk", "folder"},
    {"pm-selectall", "select all"},
    {"pm-unselectall", "unselect all"},
    {"pm-uploadtoqd", "upload to QD"},
    {"pm-downloadfromqd", "download from QD"},
    {"pm-uploadtoqddatabase", "upload to database"},
    {"pm-sendtobank", "send to bank"},
    {"pm-savetodisk", "save"},
    {"pm-new", "new"},
    {"pm-loadfromdisk", "load from disk"},
    {"pm-invertselection", "invert selection"},
    {"pm-overwrite", "overwrite"},
    {"pm-local", "local"},
    {"pm-global", "global"},
    {"pm-login", "log in"},
};

}  // namespace

std::string ButtonWord(const std::string& imageName) {
    for (const auto& w : kWords)
        if (imageName == w.image) return w.word;
    return {};
}

}  // namespace skingen
