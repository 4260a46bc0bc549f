// The volume information view: the main fields of the volume descriptor the
// file-system reader kept, as label and value rows.
#pragma once

#include <QWidget>

#include <cstddef>
#include <cstdint>

class CListCtrlEx;

class CDlgVol : public QWidget {
    Q_OBJECT
public:
    // Fills parent's client area.
    explicit CDlgVol(QWidget* parent);

    // fileSystemCode: 1 ISO 9660 rows, 2 or more UDF rows, 0 none. A null
    // descriptor or a length of 0 changes nothing.
    void Show(const uint8_t* descriptor, size_t length, int fileSystemCode);

    CListCtrlEx* List() const { return list_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CListCtrlEx* list_;
};
