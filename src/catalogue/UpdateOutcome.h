#pragma once

#include <QString>
#include <QStringList>

// What one update check came to, told to the user after the update command.
// Each catalogue adds what happened to it; results gathered elsewhere (other
// sources of channels) are merged in, and the outcome is read at the end.
class UpdateOutcome {
public:
    enum class Kind {
        UpToDate,      // every catalogue was checked and none was behind
        Updated,       // every catalogue that was behind was replaced
        PartlyUpdated, // some were replaced; the rest are tried at the next check
        NotUpdated,    // catalogues were behind, but none of them arrived
        NotChecked,    // the versions could not be learned at all
    };

    // A catalogue was compared and found current.
    void AddCurrent(const QString& name);
    // A catalogue was behind and its successor arrived and replaced it.
    void AddReplaced(const QString& name);
    // A catalogue was behind but its successor did not arrive; the old one stays.
    void AddFailed(const QString& name);
    // The version list did not arrive, so this catalogue was not compared.
    void AddUnchecked(const QString& name);

    void Merge(const UpdateOutcome& other);

    Kind kind() const;
    bool updated() const { return !replaced_.isEmpty(); }
    const QStringList& Current() const { return current_; }
    const QStringList& Replaced() const { return replaced_; }
    const QStringList& Failed() const { return failed_; }
    const QStringList& Unchecked() const { return unchecked_; }

    // The message of the update command for this outcome.
    QString Message() const;
    static QString MessageFor(Kind kind);

private:
    QStringList current_;
    QStringList replaced_;
    QStringList failed_;
    QStringList unchecked_;
};
