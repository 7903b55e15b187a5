#include "sim/simdemo.h"

void FillDemoData(KktSimulator& sim)
{
    struct Cashier {
        QString position, name, password, inn;
    };
    const Cashier cashiers[] = {
        {QStringLiteral("Кассир"), QStringLiteral("Иванова А.П."), QStringLiteral("1"), QStringLiteral("772801234567")},
        {QStringLiteral("Старший кассир"), QStringLiteral("Петров С.В."), QStringLiteral("2"), QStringLiteral("500100732259")},
        {QStringLiteral("Администратор"), QStringLiteral("Сидоров К.Н."), QStringLiteral("30"), QString()},
    };
    for (uint8_t row = 1; row <= 3; ++row) {
        const Cashier& c = cashiers[row - 1];
        sim.setParam(0, row, 0, c.position);
        sim.setParam(0, row, 1, c.name);
        sim.setParam(0, row, 2, c.password);
        sim.setParam(0, row, 3, c.inn);
    }
    // Field 1 of a section: type code (2 digits), VAT code, tax-system code, agent number.
    sim.setParam(2, 1, 0, QStringLiteral("Продукты"));
    sim.setParam(2, 1, 1, QStringLiteral("0010"));
    sim.setParam(2, 2, 0, QStringLiteral("Услуги"));
    sim.setParam(2, 2, 1, QStringLiteral("0310"));
    sim.setParam(4, 1, 0, QStringLiteral("ООО \"Ромашка\""));
    sim.setParam(4, 1, 1, QStringLiteral("г. Москва, ул. Лесная, 5"));
    sim.setParam(4, 1, 2, QStringLiteral("Спасибо за покупку!"));
    sim.setParam(5, 1, 0, QStringLiteral("10.0.0.15"));
    sim.setParam(5, 2, 0, QStringLiteral("7777"));
    sim.setParam(5, 3, 0, QStringLiteral("10.0.0.1"));
    sim.setParam(5, 4, 0, QStringLiteral("internet"));
    sim.setParam(5, 7, 0, QStringLiteral("0"));
    sim.setParam(6, 1, 0, QStringLiteral("ООО \"Ромашка\""));
    sim.setParam(6, 1, 1, QStringLiteral("7701234567"));
    sim.setParam(7, 1, 0, QStringLiteral("Касса 1"));

    struct Item {
        QString name, barcode, marking, price, section, quantity;
    };
    const Item goods[] = {
        {QStringLiteral("Хлеб белый"), QStringLiteral("4600000000011"), QString(), QStringLiteral("4590"), QStringLiteral("1"), QStringLiteral("20000")},
        {QStringLiteral("Молоко 3,2% 1 л"), QStringLiteral("4600000000028"), QString(), QStringLiteral("8990"), QStringLiteral("1"), QStringLiteral("12000")},
        {QStringLiteral("Сыр российский"), QStringLiteral("4600000000035"), QString(), QStringLiteral("69900"), QStringLiteral("1"), QStringLiteral("3500")},
        {QStringLiteral("Обувь кожаная"), QStringLiteral("4600000000042"), QStringLiteral("м"), QStringLiteral("459900"), QStringLiteral("1"), QStringLiteral("2000")},
        {QStringLiteral("Доставка"), QString(), QString(), QStringLiteral("30000"), QStringLiteral("2"), QStringLiteral("1000")},
    };
    for (int code = 1; code <= 5; ++code) {
        const Item& g = goods[code - 1];
        sim.setGoods(code, {g.name, g.barcode, g.marking, g.price, g.section, g.quantity});
    }

    KktAgentRecord agent;
    agent.number = 1;
    agent.sign = 4;  // payment agent
    agent.phoneSupplier = QStringLiteral("+74951234567");
    agent.phoneAgent = QStringLiteral("+74957654321");
    agent.phoneAcceptor = QStringLiteral("+74950001122");
    agent.nameSupplier = QStringLiteral("ООО \"Поставщик\"");
    sim.setAgent(agent);
}
