#ifndef TUNEWRIGHT_DATA_SCHEMA_H_
#define TUNEWRIGHT_DATA_SCHEMA_H_

#include <array>

namespace tw::schema {

// The statements that create the two databases. The tabs and the missing blank after
// `intromelody` are part of them: existing databases were made by exactly these texts.
inline constexpr const char* kCreateMusic =
    "CREATE TABLE music (`id`\tINTEGER PRIMARY KEY AUTOINCREMENT, `artist` TEXT, `title` TEXT, "
    "`bpm` NUMERIC, `introprefix` TEXT, `introfade` INTEGER, `introstart`\tTEXT, "
    "`introend`\tTEXT, `introbeatlist` TEXT, `introbass` INTEGER, `introvocal`\tINTEGER, "
    "`intromelody`INTEGER, `introbeats` INTEGER, `breakfade` INTEGER, `breakstart`\tTEXT, "
    "`breakend` TEXT, `breakbeatlist`, `breakbass` INTEGER, `breakvocal`\tINTEGER, "
    "`breakmelody` INTEGER, `breakbeats` INTEGER, `genre` TEXT, `filename`\tTEXT, "
    "`sleeve` TEXT,\t`year`\tINTEGER, `label` TEXT, `catno` TEXT, `country` TEXT, "
    "`breakmute` TEXT, `breakcontinue` TEXT, `introloopstart` TEXT, `introloopend` TEXT, "
    "`breakloopstart` TEXT, `breakloopend` TEXT, `introlooprepeat` INTEGER, "
    "`breaklooprepeat` INTEGER, `skipstart` TEXT, `skipend` TEXT)";

inline constexpr std::array<const char*, 16> kMusicIndexes = {
    "CREATE INDEX index_id ON music(id)",
    "CREATE INDEX index_bpm ON music(bpm)",
    "CREATE INDEX index_artist ON music(artist)",
    "CREATE INDEX index_title ON music(title)",
    "CREATE INDEX index_label ON music(label)",
    "CREATE INDEX index_catno ON music(catno)",
    "CREATE INDEX index_year ON music(year)",
    "CREATE INDEX index_country ON music(country)",
    "CREATE INDEX index_introbass ON music(introbass)",
    "CREATE INDEX index_intromelody ON music(intromelody)",
    "CREATE INDEX index_introvocal ON music(introvocal)",
    "CREATE INDEX index_introbeats ON music(introbeats)",
    "CREATE INDEX index_breakbass ON music(breakbass)",
    "CREATE INDEX index_breakmelody ON music(breakmelody)",
    "CREATE INDEX index_breakvocal ON music(breakvocal)",
    "CREATE INDEX index_breakbeats ON music(breakbeats)",
};

inline constexpr const char* kCreateFiles =
    "CREATE TABLE files (`id`\tINTEGER PRIMARY KEY AUTOINCREMENT, `added` TEXT, `file` TEXT, "
    "`folder` TEXT, `bpm` TEXT)";

inline constexpr std::array<const char*, 5> kFilesIndexes = {
    "CREATE INDEX index_id ON files(id)",     "CREATE INDEX index_added ON files(added)",
    "CREATE INDEX index_file ON files(file)", "CREATE INDEX index_folder ON files(folder)",
    "CREATE INDEX index_bpm ON files(bpm)",
};

// The columns of `music` in table order: a "SELECT * FROM music" row reads in this order.
inline constexpr std::array<const char*, 38> kMusicColumns = {
    "id",
    "artist",
    "title",
    "bpm",
    "introprefix",
    "introfade",
    "introstart",
    "introend",
    "introbeatlist",
    "introbass",
    "introvocal",
    "intromelody",
    "introbeats",
    "breakfade",
    "breakstart",
    "breakend",
    "breakbeatlist",
    "breakbass",
    "breakvocal",
    "breakmelody",
    "breakbeats",
    "genre",
    "filename",
    "sleeve",
    "year",
    "label",
    "catno",
    "country",
    "breakmute",
    "breakcontinue",
    "introloopstart",
    "introloopend",
    "breakloopstart",
    "breakloopend",
    "introlooprepeat",
    "breaklooprepeat",
    "skipstart",
    "skipend",
};

}  // namespace tw::schema

#endif  // TUNEWRIGHT_DATA_SCHEMA_H_
