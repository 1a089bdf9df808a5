#pragma once

#include "app/ServerRecord.h"

#include <QAbstractTableModel>

#include <vector>

// The server table: one row per registry entry, as copied at the last reload. Every
// server-provided text is plain text; names keep their colour codes under RawTextRole
// for the delegate that paints them. Main thread only.
class ServerTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NameColumn, MapColumn, PlayersColumn, AddressColumn, ColumnCount };
    enum Role {
        // The decoded text with its colour codes.
        RawTextRole = Qt::UserRole + 1,
        // A value that sorts the column naturally (numbers for players and addresses).
        SortRole,
    };

    explicit ServerTableModel(QObject* parent = nullptr);

    void setServers(std::vector<ServerRecord> servers);
    const std::vector<ServerRecord>& servers() const { return m_servers; }
    // Null when the row is out of range.
    const ServerRecord* serverAt(int row) const;
    // -1 when the server is not listed.
    int rowOfServer(const ServerRecord& server) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QString rawText(const ServerRecord& server, int column) const;
    QVariant sortValue(const ServerRecord& server, int column) const;

    std::vector<ServerRecord> m_servers;
};
