#include "catalogue/UpdateOutcome.h"

void UpdateOutcome::AddCurrent(const QString& name) {
    current_.append(name);
}

void UpdateOutcome::AddReplaced(const QString& name) {
    replaced_.append(name);
}

void UpdateOutcome::AddFailed(const QString& name) {
    failed_.append(name);
}

void UpdateOutcome::AddUnchecked(const QString& name) {
    unchecked_.append(name);
}

void UpdateOutcome::Merge(const UpdateOutcome& other) {
    current_.append(other.current_);
    replaced_.append(other.replaced_);
    failed_.append(other.failed_);
    unchecked_.append(other.unchecked_);
}

UpdateOutcome::Kind UpdateOutcome::kind() const {
    const bool missed = !failed_.isEmpty() || !unchecked_.isEmpty();
    if (!replaced_.isEmpty())
        return missed ? Kind::PartlyUpdated : Kind::Updated;
    // Nothing was replaced: "up to date" only when everything was looked at
    // and found current.
    if (!unchecked_.isEmpty())
        return Kind::NotChecked;
    if (!failed_.isEmpty())
        return Kind::NotUpdated;
    return Kind::UpToDate;
}

QString UpdateOutcome::Message() const {
    return MessageFor(kind());
}

QString UpdateOutcome::MessageFor(Kind kind) {
    switch (kind) {
    case Kind::UpToDate:
        return QStringLiteral("현재 버전이 최신버전입니다.");
    case Kind::Updated:
        return QStringLiteral("최신버전으로 업데이트 되었습니다.");
    case Kind::PartlyUpdated:
        return QStringLiteral("일부 채널목록만 최신버전으로 업데이트 되었습니다.\n"
                              "나머지는 다음 업데이트 때 다시 받습니다.");
    case Kind::NotUpdated:
        return QStringLiteral("새 채널목록을 받지 못해 업데이트하지 못했습니다.\n"
                              "잠시 후 다시 시도해 주시기 바랍니다.");
    case Kind::NotChecked:
        return QStringLiteral("업데이트 서버에 연결할 수 없어 업데이트를 확인하지 못했습니다.\n"
                              "잠시 후 다시 시도해 주시기 바랍니다.");
    }
    return QString();
}
