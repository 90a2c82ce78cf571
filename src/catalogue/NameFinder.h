#pragma once

#include <QString>

#include <vector>

// Find as you type over channel names. A query matches a name where its
// characters stand in a row in the name, compared without regard to case,
// where each Korean initial consonant typed (ㄱ, ㅇ, ...) stands for any
// syllable that starts with it ("ㄱㅇ" finds 국악방송, "국ㅇ" too), and
// where a last syllable still being typed stands for the syllables it
// begins ("아리라" finds 아리랑).
class NameFinder {
public:
    // The query is read once; matching a name costs no allocation.
    explicit NameFinder(const QString& query);

    bool IsEmpty() const { return query_.empty(); }

    // Where the query matches in the name: the start and length in the
    // name's characters, or start -1 when it does not match. An empty query
    // matches every name at 0 with length 0.
    struct Match {
        int start = -1;
        int length = 0;
        bool found() const { return start >= 0; }
    };
    Match Find(const QString& name) const;

private:
    enum class Kind { Exact, Initial, Syllable };
    struct Unit {
        Kind kind;
        char16_t value; // the folded character, the consonant's index, or the syllable
    };
    bool Matches(const Unit& unit, char16_t c) const;

    std::vector<Unit> query_;
};
