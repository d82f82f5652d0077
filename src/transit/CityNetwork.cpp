#include "transit/CityNetwork.h"

#include "data/Connection.h"
#include "data/DataModule.h"
#include "transit/NetworkLoader.h"

CityNetwork::CityNetwork(DataModule &dm, QObject *parent) : QObject(parent), m_dm(dm)
{
    connect(&dm, &DataModule::listsReloaded, this, &CityNetwork::forget);
}

std::shared_ptr<const Network> CityNetwork::network()
{
    m_fresh = !m_network;
    if (!m_network)
        m_network = NetworkLoader::load(m_dm.ADOConn.database());
    return m_network;
}

void CityNetwork::forget()
{
    m_network.reset();
}
