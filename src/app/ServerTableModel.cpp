#include "app/ServerTableModel.h"

#include "app/QuakeText.h"

#include <algorithm>

namespace {

constexpr qsizetype MaximumToolTipLength = 200;

QString keyText(const ServerRecord& server, const char* key)
{
    return QuakeText::decode(server.valueForKey(key).value_or(std::string()));
}

// Counts a server reports, held to a sane range whatever it sends.
qlonglong keyNumber(const ServerRecord& server, const char* key)
{
    return std::clamp(keyText(server, key).trimmed().toLongLong(), 0LL, 99999LL);
}

}

ServerTableModel::ServerTableModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void ServerTableModel::setServers(std::vector<ServerRecord> servers)
{
    beginResetModel();
    m_servers = std::move(servers);
    endResetModel();
}

const ServerRecord* ServerTableModel::serverAt(int row) const
{
    if (row < 0 || static_cast<std::size_t>(row) >= m_servers.size())
        return nullptr;
    return &m_servers[static_cast<std::size_t>(row)];
}

int ServerTableModel::rowOfServer(const ServerRecord& server) const
{
    for (std::size_t row = 0; row < m_servers.size(); ++row) {
        if (m_servers[row].isSameServer(server))
            return static_cast<int>(row);
    }
    return -1;
}

int ServerTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_servers.size());
}

int ServerTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ServerTableModel::data(const QModelIndex& index, int role) const
{
    const ServerRecord* server = serverAt(index.row());
    if (!server || index.column() < 0 || index.column() >= ColumnCount)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return QuakeText::plain(rawText(*server, index.column()));
    case Qt::ToolTipRole:
        // Escaped, so a name that looks like markup is still shown as its characters;
        // held to a length a tooltip can show.
        return QStringLiteral("<p style='white-space:pre'>%1</p>")
            .arg(QuakeText::plain(rawText(*server, index.column())).left(MaximumToolTipLength).toHtmlEscaped());
    case RawTextRole:
        return rawText(*server, index.column());
    case SortRole:
        return sortValue(*server, index.column());
    case Qt::TextAlignmentRole:
        if (index.column() == PlayersColumn)
            return int(Qt::AlignCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QString ServerTableModel::rawText(const ServerRecord& server, int column) const
{
    switch (column) {
    case NameColumn:
        return keyText(server, "hostname");
    case MapColumn:
        return keyText(server, "mapname");
    case PlayersColumn:
        return QStringLiteral("%1/%2").arg(keyNumber(server, "clients")).arg(keyNumber(server, "sv_maxclients"));
    case AddressColumn:
        return QString::fromStdString(server.address());
    default:
        return {};
    }
}

QVariant ServerTableModel::sortValue(const ServerRecord& server, int column) const
{
    switch (column) {
    case PlayersColumn:
        return keyNumber(server, "clients") * 100000 + keyNumber(server, "sv_maxclients");
    case AddressColumn:
        return (qulonglong(server.ip) << 16) | server.port;
    default:
        return QuakeText::plain(rawText(server, column)).toCaseFolded();
    }
}

QVariant ServerTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case NameColumn:
        return tr("Server");
    case MapColumn:
        return tr("Map");
    case PlayersColumn:
        return tr("Players");
    case AddressColumn:
        return tr("Address");
    default:
        return {};
    }
}
