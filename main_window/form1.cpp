#include "form1.h"

#include "form2.h"
#include "label.h"
#include "listbox.h"
#include "module1.h"

using namespace Qt::Literals::StringLiterals;

Form1::AnimalSource Form1::programAnimals()
{
    return [animals = Module1()] { return animals.RandomAnimal(); };
}

Form1::Form1(AnimalSource randomAnimal, rt::MessageBox msgBox)
    : rt::Form({6735, 3195}, rt::BorderStyle::FixedSingle)
    , randomAnimal_(std::move(randomAnimal))
    , msgBox_(std::move(msgBox))
    , List1(new rt::ListBox(this, u"List1"_s, {240, 240, 4095, 2565}))
    , Label1(new rt::Label(this, u"Label1"_s, {4560, 240, 1815, 1215}))
    , Label2(new rt::Label(this, u"Label2"_s, {4560, 1680, 1815, 1215}))
    , form2_([this] { return std::make_unique<Form2>(this); })
{
    setTabOrder(List1, Label1);
    setTabOrder(Label1, Label2);
    connect(Label1, &rt::Label::clicked, this, &Form1::label1Click);
    connect(Label2, &rt::Label::clicked, this, &Form1::label2Click);
    setWindowTitle(u"Bargeling 2000"_s);
}

Form1::~Form1() = default;

void Form1::load()
{
    const qint16 n = List1->itemCount();
    Label1->setCaption(u"Antall dyr på arken: "_s + QString::number(n));
    Label2->setCaption(u"Sleng inn et dyr i Arken!"_s);
    form2_->setVisible(false);
}

void Form1::label1Click()
{
    form2_->setVisible(true);
}

void Form1::label2Click()
{
    if (List1->isFull())
        return; // the ark holds no more: the click adds nothing and says nothing
    const QString animal = randomAnimal_();
    List1->appendItem(animal);
    List1->selectIndex(List1->newIndex());
    const qint16 n = List1->itemCount();
    if (n <= 75)
        Label1->setCaption(u"Antall dyr på arken: "_s + QString::number(n));
    if (n > 75)
        Label1->setCaption(u"Antall dyr spist av krokodiller: "_s + QString::number(n));
    if (n == 50)
        msgBox_(this, u"jaggu du har vist greid å stappe inn "_s + QString::number(n) + u" dyr i Arken til Noah"_s, u"Bargeling 2.0"_s);
    if (n == 75)
        msgBox_(this, u"Tobad du kjenner ikke din begrensning "_s + QString::number(n) + u" dyr i arken er så mye at Arken til Noah synker! SHAEM ON YUO!!!!11"_s, u"Bargeling 2.0"_s);
    if (n > 75)
        msgBox_(this, u"Du har slengt på "_s + QString::number(n) + u" dyr, siden Arken til Noah er sunket blir disse spist av krokodillene, SADIST!!!!!!1"_s, u"Bargeling 2.0"_s);
}
