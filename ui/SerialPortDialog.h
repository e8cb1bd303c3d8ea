#pragma once

#include "platform/FtdiDevices.h"

#include <QDialog>

#include <cstdint>
#include <vector>

class CSerialLink;
class QComboBox;

namespace Ui {
class SerialPortDialog;
}

// Chooses the port and line settings of one serial link and opens or closes it. Modeless: the
// tick keeps polling the link while it is open. Every showing lists the ports afresh and loads the
// link's current settings.
class SerialPortDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SerialPortDialog(CSerialLink& link, QWidget* parent = nullptr);
    ~SerialPortDialog() override;
    SerialPortDialog(const SerialPortDialog&) = delete;
    SerialPortDialog& operator=(const SerialPortDialog&) = delete;

    // Rows: "<none>", one per FTDI device ("USB" and its location id), COM1 to COM19, then the
    // other serial devices by path. Selects the link's port and shows its line settings.
    void GetDataFromComPort();
    // Stores the chosen port and settings in the link and reopens it.
    void OnBnClickedStart();

private Q_SLOTS:
    void on_startPushButton_clicked();
    void on_stopPushButton_clicked();
    void on_closePushButton_clicked();

private:
    void ListFtdiDevices(const QByteArray& linkSerial, int& rowToSelect);
    void AddPortRow(const QString& label, const QString& linkPort, int& rowToSelect);
    void ShowLineSettings();
    void StoreLineSettings();
    QString SerialOfRow(int row) const;

    Ui::SerialPortDialog* ui;
    CSerialLink* link;
    std::uint32_t deviceCount = 0;
    std::vector<platform::FtDeviceListInfoNode> nodes;
};
