#pragma once
#include "other/logfamily.h"

// The three vehicle logs, each a declaration read by the log family's
// windows: oil changes (换油记录表, q_hyjlb), repairs (车辆维修记录表,
// q_wxjlb) and accidents (事故登记表, q_sgjlb).
namespace other {
const LogDecl &oilChanges();
const LogDecl &repairs();
const LogDecl &accidents();
} // namespace other

// 换油记录登记表
class TForm_hyjlb : public other::LogList {
    Q_OBJECT
public:
    explicit TForm_hyjlb(QWidget *owner) : LogList(owner, other::oilChanges()) {}
};
class TForm_hyjlb_edit : public other::LogEditor {
    Q_OBJECT
public:
    explicit TForm_hyjlb_edit(QWidget *owner) : LogEditor(owner, other::oilChanges()) {}
};
class TForm_hyjlb_cx : public other::LogSearch {
    Q_OBJECT
public:
    explicit TForm_hyjlb_cx(QWidget *owner) : LogSearch(owner, other::oilChanges()) {}
};

// 车辆维修记录登记表
class TForm_wxjlb : public other::LogList {
    Q_OBJECT
public:
    explicit TForm_wxjlb(QWidget *owner) : LogList(owner, other::repairs()) {}
};
class TForm_wxjlb_edit : public other::LogEditor {
    Q_OBJECT
public:
    explicit TForm_wxjlb_edit(QWidget *owner) : LogEditor(owner, other::repairs()) {}
};
class TForm_wxjlb_cx : public other::LogSearch {
    Q_OBJECT
public:
    explicit TForm_wxjlb_cx(QWidget *owner) : LogSearch(owner, other::repairs()) {}
};

// 事故记录登记表
class TForm_sgjlb : public other::LogList {
    Q_OBJECT
public:
    explicit TForm_sgjlb(QWidget *owner) : LogList(owner, other::accidents()) {}
};
class TForm_sgjlb_edit : public other::LogEditor {
    Q_OBJECT
public:
    explicit TForm_sgjlb_edit(QWidget *owner) : LogEditor(owner, other::accidents()) {}
};
class TForm_sgjlb_cx : public other::LogSearch {
    Q_OBJECT
public:
    explicit TForm_sgjlb_cx(QWidget *owner) : LogSearch(owner, other::accidents()) {}
};
