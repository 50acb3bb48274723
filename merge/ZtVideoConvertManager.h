#pragma once
// The one ordered list of clips to be joined. It owns the items, keeps each clip's index equal to its
// position and answers whether the clips can be joined without re-encoding. The list is changed on the
// thread it lives in (the GUI thread) only.

#include <QList>
#include <QObject>

class ZtVideoConvertItem;

class ZtVideoConvertManager : public QObject
{
    Q_OBJECT
public:
    explicit ZtVideoConvertManager(QObject *parent = nullptr);
    ~ZtVideoConvertManager() override;

    static ZtVideoConvertManager *getConvertManagerObject(QObject *parent = nullptr);

    // Inserts at `position` (appends when out of range) and answers the position the clip took. Called
    // from another thread, the clip is moved to the list's thread and added there later: the answer is
    // then -1.
    int addConverItem(ZtVideoConvertItem *item, int position);
    bool IsValid(int position) const;
    void DeleteItemAt(int position);
    void RemoveOne(ZtVideoConvertItem *item);
    void ClearItems();
    int GetItemCount() const;
    ZtVideoConvertItem *GetItem(int position) const;
    bool swapItem(int a, int b);
    bool OrginalItemInsert(int from, int to);
    bool IsLosslessMerger() const;
    // Before a high-speed run: whether the clip at `position` has its chosen subtitle stream carried into
    // the output, in the container the run writes (the first clip's parameters name it). The output's
    // subtitle stream is the first clip's, so a later clip's is carried only when the first clip's is and
    // both are of one format. Opens the source files.
    bool isSubtitleCarried(int position) const;

    // Two clips can be joined without re-encoding (the per-clip part of the lossless test).
    static bool IsLosslessPair(const ZtVideoConvertItem *first, const ZtVideoConvertItem *other);

signals:
    // A clip handed over from another thread has entered the list at `position`.
    void emitItemAdded(ZtVideoConvertItem *item, int position);

private:
    int insertHere(ZtVideoConvertItem *item, int position);
    void renumberFrom(int position);

    QList<ZtVideoConvertItem *> m_itemList;
    static ZtVideoConvertManager *m_myConvertManager;
};
